#pragma once
#include "dialogs/DialogFieldError.h"
#include "document/PP2.h"
#include "document/PP4.h"

#include <optional>
#include <string>
#include <string_view>

// The Dimensions and Advanced pages' rules: which fields show, the checks on leaving a page
// or pressing OK, and the pen-width radios.
class SettingsPageRules {
public:
    enum DimensionControl {
        kCellsWide = 1006,
        kCellsLong = 1007,
        kInnerCells = 1009,
        kInnerPercent = 1010
    };
    enum PenRadio { kThinnest = 1024, kHundredth = 1025, kThousandths = 1026 };

    // Loaded values are put in range so that a field the page hides never blocks OK.
    static void ClampDimensions(PP2& values);
    static bool Circular(int kind) { return kind >= 40; }
    // Reads the shown Dimensions fields' texts into `values`; the first refused field.
    struct DimensionTexts {
        std::string cellsWide, cellsLong, innerCells, innerPercent;
    };
    static std::optional<DialogFieldError> ReadDimensions(int kind, const DimensionTexts& texts,
                                                          PP2& values);
    // A whole number anywhere in int, or a real number, with the framework's messages.
    static std::optional<DialogFieldError> ReadInt(int controlId, std::string_view text,
                                                   int& value);
    static std::optional<DialogFieldError> ReadFloat(int controlId, std::string_view text,
                                                     float& value);

    static int PenRadioFor(int penWidth);
    // The radio's pen width (the X/1000 radio keeps the current one).
    static void ChoosePen(int radio, PP4& values);
    static bool PenEditWritable(int radio) { return radio == kThousandths; }
};
