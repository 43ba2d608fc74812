#pragma once
#include "forms/DialogFieldError.h"
#include "view/MazePrintSettings.h"

#include <optional>
#include <string>

// The print options dialog's values: the print settings it edits, the Select Printer choice
// and whether the count may be edited. The caller fills them, runs the dialog and reads them
// back after PRINT.
class MazePrintDialogValues {
public:
    static constexpr int kTemplateId = 174;
    static constexpr const char* kTitle = "Orlimber Print Dialog";
    static constexpr int kMazeId = 1064;
    static constexpr int kSolutionId = 1065;
    static constexpr int kSelectPrinterId = 1066;
    static constexpr int kCompatibleId = 1067;
    // 1068..1071 the maze page's layers 1..4, 1072..1075 the solution page's.
    static constexpr int kFirstMazeLayerId = 1068;
    static constexpr int kFirstSolutionLayerId = 1072;
    static constexpr int kCountId = 1082;
    static constexpr int kPrintId = 1;
    static constexpr int kCancelId = 2;

    MazePrintSettings settings;
    int selectPrinter = 0;
    int countReadOnly = 0;

    // What the controls show or hold; layers are indexed 1..4.
    struct Controls {
        bool maze = true;
        bool solution = true;
        bool compatible = false;
        bool mazeLayers[5] = {};
        bool solutionLayers[5] = {};
        std::string count;
    };
    Controls ToControls() const;
    // Takes every value; a count outside 1..999 is refused with the range message and then
    // nothing changes.
    std::optional<DialogFieldError> FromControls(const Controls& controls);
    bool CountEditable() const { return countReadOnly == 0; }
    // The layer boxes of a page kind are usable only while that kind is checked.
    static bool LayerBoxEnabled(const Controls& controls, bool solutionPage) {
        return solutionPage ? controls.solution : controls.maze;
    }
};
