#include "dialogs/SettingsPageRules.h"

#include "dialogs/IntegerFieldCheck.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <cmath>

void SettingsPageRules::ClampDimensions(PP2& v) {
    v.cellsLong = std::clamp(v.cellsLong, 0, PP2::kMaxCells);
    v.cellsWide = std::clamp(v.cellsWide, 0, PP2::kMaxCells);
    v.scale = std::clamp(v.scale, 0, PP2::kMaxCells);
    v.innerRadiusCells = std::clamp(v.innerRadiusCells, 1, PP2::kMaxInnerCells);
    if (!(v.innerRadiusPercent >= PP2::kMinInnerPercent))
        v.innerRadiusPercent = PP2::kMinInnerPercent;
    v.innerRadiusPercent = std::min(v.innerRadiusPercent, PP2::kMaxInnerPercent);
}

std::optional<DialogFieldError>
SettingsPageRules::ReadDimensions(int kind, const DimensionTexts& texts, PP2& values) {
    PP2 next = values;
    std::optional<DialogFieldError> error;
    if (!Circular(kind)) {
        error = IntegerFieldCheck::ReadInRange(kCellsLong, texts.cellsLong, 0, PP2::kMaxCells,
                                               next.cellsLong);
        if (!error)
            error = IntegerFieldCheck::ReadInRange(kCellsWide, texts.cellsWide, 0, PP2::kMaxCells,
                                                   next.cellsWide);
    } else {
        error = IntegerFieldCheck::ReadInRange(kInnerCells, texts.innerCells, 1,
                                               PP2::kMaxInnerCells, next.innerRadiusCells);
        float percent = 0;
        if (!error)
            error = ReadFloat(kInnerPercent, texts.innerPercent, percent);
        if (!error && !(percent >= PP2::kMinInnerPercent && percent <= PP2::kMaxInnerPercent))
            error = DialogFieldError{kInnerPercent, "Please enter a number between 0.1 and 99.9."};
        if (!error)
            next.innerRadiusPercent = percent;
    }
    if (!error)
        values = next;
    return error;
}

std::optional<DialogFieldError> SettingsPageRules::ReadInt(int controlId, std::string_view text,
                                                           int& value) {
    int parsed = 0;
    if (!ParseInt(text, parsed))
        return DialogFieldError{controlId, "Please enter an integer."};
    value = parsed;
    return std::nullopt;
}

std::optional<DialogFieldError> SettingsPageRules::ReadFloat(int controlId, std::string_view text,
                                                             float& value) {
    double parsed = 0;
    if (!ParseDouble(text, parsed) || !std::isfinite(parsed) || std::fabs(parsed) > 3.0e38)
        return DialogFieldError{controlId, "Please enter a number."};
    value = static_cast<float>(parsed);
    return std::nullopt;
}

int SettingsPageRules::PenRadioFor(int penWidth) {
    return penWidth == 0 ? kThinnest : penWidth == 10 ? kHundredth : kThousandths;
}

void SettingsPageRules::ChoosePen(int radio, PP4& values) {
    if (radio == kThinnest)
        values.penWidth = 0;
    else if (radio == kHundredth)
        values.penWidth = 10;
}
