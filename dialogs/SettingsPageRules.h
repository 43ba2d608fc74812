#pragma once
#include "document/PP2.h"
#include "document/PP3.h"
#include "document/PP4.h"
#include "forms/ControlIds.h"
#include "forms/DialogFieldError.h"

#include <optional>
#include <string>
#include <string_view>

// The Dimensions and Advanced pages' rules: which fields show, the checks on leaving a page
// or pressing OK, and the pen-width radios (ControlIds::Advanced::kThinnest and on).
class SettingsPageRules {
public:
    // Loaded values are put in range so that a field the page hides never blocks OK.
    static void ClampDimensions(PP2& values);
    static bool Circular(int kind) { return kind >= 40; }
    // Reads the shown Dimensions fields' texts into `values`; the first refused field. Too
    // many cells names the count the user changed from `opened`, the values the sheet showed.
    struct DimensionTexts {
        std::string cellsWide, cellsLong, innerCells, innerPercent;
    };
    static std::optional<DialogFieldError> ReadDimensions(int kind, const DimensionTexts& texts,
                                                          const PP2& opened, PP2& values);
    // Reads the Page fields' texts (height, width, left and top margin) into `values`, each a
    // number in its stated range; the first refused field.
    struct PageTexts {
        std::string height, width, leftMargin, topMargin;
    };
    static std::optional<DialogFieldError> ReadPageSizes(const PageTexts& texts, PP3& values);
    // A whole number anywhere in int, or a real number, with the framework's messages.
    static std::optional<DialogFieldError> ReadInt(int controlId, std::string_view text,
                                                   int& value);
    // The seed stays text on its page; it must still be a whole number in int.
    static std::optional<DialogFieldError> ReadSeed(std::string_view text, std::string& seed);
    static std::optional<DialogFieldError> ReadFloat(int controlId, std::string_view text,
                                                     float& value);

    // The caption of a field as its page shows it, to name it in a refusal.
    static std::string FieldName(int page, int controlId);
    // A refusal as the user reads it: the field's name, then why.
    static std::string Message(int page, const DialogFieldError& error);

    static int PenRadioFor(int penWidth);
    // The radio's pen width (the X/1000 radio keeps the current one).
    static void ChoosePen(int radio, PP4& values);
    static bool PenEditWritable(int radio) { return radio == ControlIds::Advanced::kThousandths; }
};
