#pragma once
#include "forms/DialogFieldError.h"

#include <optional>
#include <string>

// The values of the export size dialog: the picture's width and height, whether the export
// takes the screen's size instead, and how many mazes to render. The caller fills them, runs
// the dialog and reads them back after OK.
class BitmapSetup {
public:
    static constexpr int kTemplateId = 161;
    static constexpr int kScreenResolutionId = 1037;
    static constexpr int kYId = 1038;
    static constexpr int kXId = 1039;
    static constexpr int kCountId = 1081;
    // Sides beyond this would ask the export for gigabytes before anything is drawn.
    static constexpr int kMinSide = 1;
    static constexpr int kMaxSide = 16384;
    static constexpr int kMinCount = 1;
    static constexpr int kMaxCount = 999;

    int x = 0;
    int y = 0;
    int screenResolution = 0;
    int countReadOnly = 0; // the count edit is read-only while set
    int numberOfMazes = 0;

    // What the controls show or hold.
    struct Controls {
        std::string x;
        std::string y;
        bool screenResolution = false;
        std::string count;
    };
    Controls ToControls() const;
    // Takes every value in the exchange order (X, Y, the flag, the count); the first refused
    // value answers and then nothing changes. The count is checked even while read-only.
    std::optional<DialogFieldError> FromControls(const Controls& controls);
    bool CountEditable() const { return countReadOnly == 0; }
};
