#include "dialogs/SettingsPageRules.h"

#include "document/SettingsPages.h"
#include "document/SettingsPagesCheck.h"
#include "forms/IntegerFieldCheck.h"
#include "maze/Object.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

using namespace ControlIds;

namespace {

struct Field {
    int page;
    int id;
    const char* name;
};

constexpr Field kFields[] = {
    {SettingsPages::kDimensions, Dimensions::kCellsLong, "Cells Long"},
    {SettingsPages::kDimensions, Dimensions::kCellsWide, "Cells Wide"},
    {SettingsPages::kDimensions, Dimensions::kInnerCells, "Inner Radius Cells"},
    {SettingsPages::kDimensions, Dimensions::kInnerPercent, "% Inner Radius Size"},
    {SettingsPages::kPage, Page::kHeight, "Maze Height"},
    {SettingsPages::kPage, Page::kWidth, "Maze Width"},
    {SettingsPages::kPage, Page::kLeftMargin, "Left Margin"},
    {SettingsPages::kPage, Page::kTopMargin, "Top Margin"},
    {SettingsPages::kAdvanced, Advanced::kSeed, "Random Number Seed"},
    {SettingsPages::kAdvanced, Advanced::kPenWidth, "Printing Pen Width X"},
    {SettingsPages::kGrowth, Growth::kN, "GROWTH N"},
    {SettingsPages::kGrowth, Growth::kNW, "GROWTH NW"},
    {SettingsPages::kGrowth, Growth::kNE, "GROWTH NE"},
    {SettingsPages::kGrowth, Growth::kW, "GROWTH W"},
    {SettingsPages::kGrowth, Growth::kE, "GROWTH E"},
    {SettingsPages::kGrowth, Growth::kSW, "GROWTH SW"},
    {SettingsPages::kGrowth, Growth::kSE, "GROWTH SE"},
    {SettingsPages::kGrowth, Growth::kS, "GROWTH S"},
};

} // namespace

void SettingsPageRules::ClampDimensions(PP2& v) {
    v.cellsLong = std::clamp(v.cellsLong, PP2::kMinCells, PP2::kMaxCells);
    v.cellsWide = std::clamp(v.cellsWide, PP2::kMinCells, PP2::kMaxCells);
    v.scale = std::clamp(v.scale, 0, PP2::kMaxCells);
    v.innerRadiusCells = std::clamp(v.innerRadiusCells, 1, PP2::kMaxInnerCells);
    if (!(v.innerRadiusPercent >= PP2::kMinInnerPercent))
        v.innerRadiusPercent = PP2::kMinInnerPercent;
    v.innerRadiusPercent = std::min(v.innerRadiusPercent, PP2::kMaxInnerPercent);
}

std::optional<DialogFieldError> SettingsPageRules::ReadDimensions(int kind,
                                                                  const DimensionTexts& texts,
                                                                  const PP2& opened, PP2& values) {
    PP2 shown = opened;
    ClampDimensions(shown);
    PP2 next = values;
    std::optional<DialogFieldError> error;
    if (!Circular(kind)) {
        error = IntegerFieldCheck::ReadInRange(Dimensions::kCellsLong, texts.cellsLong,
                                               PP2::kMinCells, PP2::kMaxCells, next.cellsLong);
        if (!error)
            error = IntegerFieldCheck::ReadInRange(Dimensions::kCellsWide, texts.cellsWide,
                                                   PP2::kMinCells, PP2::kMaxCells, next.cellsWide);
        const long long cells = static_cast<long long>(next.cellsLong) * next.cellsWide;
        // Point at the count the user changed: the rows when only they differ from the shown.
        const bool onlyRows =
            next.cellsLong != shown.cellsLong && next.cellsWide == shown.cellsWide;
        if (!error && cells > Object::kMaxCells)
            error = DialogFieldError{
                onlyRows ? Dimensions::kCellsLong : Dimensions::kCellsWide,
                Format("%d columns of %d rows make %lld cells; a maze holds at most "
                       "4,000,000 cells.",
                       next.cellsWide, next.cellsLong, cells)};
    } else {
        error = IntegerFieldCheck::ReadInRange(Dimensions::kInnerCells, texts.innerCells, 1,
                                               PP2::kMaxInnerCells, next.innerRadiusCells);
        float percent = 0;
        if (!error)
            error = ReadFloat(Dimensions::kInnerPercent, texts.innerPercent, percent);
        if (!error && !(percent >= PP2::kMinInnerPercent && percent <= PP2::kMaxInnerPercent))
            error = DialogFieldError{Dimensions::kInnerPercent,
                                     "Please enter a number between 0.1 and 99.9."};
        if (!error)
            next.innerRadiusPercent = percent;
    }
    if (error)
        return error;
    // A field left as shown keeps the value it was opened with, even one the page had to
    // bring into its range to show, so an untouched sheet changes no value.
    if (next.cellsLong == shown.cellsLong)
        next.cellsLong = opened.cellsLong;
    if (next.cellsWide == shown.cellsWide)
        next.cellsWide = opened.cellsWide;
    if (next.innerRadiusCells == shown.innerRadiusCells)
        next.innerRadiusCells = opened.innerRadiusCells;
    if (next.innerRadiusPercent == shown.innerRadiusPercent)
        next.innerRadiusPercent = opened.innerRadiusPercent;
    values = next;
    return std::nullopt;
}

std::optional<DialogFieldError> SettingsPageRules::ReadInt(int controlId, std::string_view text,
                                                           int& value) {
    return IntegerFieldCheck::ReadInRange(controlId, text, std::numeric_limits<int>::min(),
                                          std::numeric_limits<int>::max(), value);
}

std::optional<DialogFieldError> SettingsPageRules::ReadPageSizes(const PageTexts& texts,
                                                                 PP3& values) {
    PP3 next = values;
    const std::pair<int, std::pair<const std::string*, float*>> fields[] = {
        {Page::kHeight, {&texts.height, &next.height}},
        {Page::kWidth, {&texts.width, &next.width}},
        {Page::kLeftMargin, {&texts.leftMargin, &next.leftMargin}},
        {Page::kTopMargin, {&texts.topMargin, &next.topMargin}}};
    for (const auto& [id, field] : fields)
        if (auto error = ReadFloat(id, *field.first, *field.second))
            return error;
    if (auto refusal = SettingsPagesCheck::PageValues(next))
        return DialogFieldError{refusal->controlId, refusal->message};
    values = next;
    return std::nullopt;
}

std::optional<DialogFieldError> SettingsPageRules::ReadSeed(std::string_view text,
                                                            std::string& seed) {
    int parsed = 0;
    if (!ParseInt(text, parsed))
        return DialogFieldError{Advanced::kSeed,
                                "Please enter a whole number between -2147483648 and 2147483647."};
    seed = std::string(text);
    return std::nullopt;
}

std::string SettingsPageRules::FieldName(int page, int controlId) {
    for (const Field& f : kFields)
        if (f.page == page && f.id == controlId)
            return f.name;
    return {};
}

std::string SettingsPageRules::Message(int page, const DialogFieldError& error) {
    const std::string name = FieldName(page, error.controlId);
    return name.empty() ? error.message : name + ": " + error.message;
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
    return penWidth == 0    ? Advanced::kThinnest
           : penWidth == 10 ? Advanced::kHundredth
                            : Advanced::kThousandths;
}

void SettingsPageRules::ChoosePen(int radio, PP4& values) {
    if (radio == Advanced::kThinnest)
        values.penWidth = 0;
    else if (radio == Advanced::kHundredth)
        values.penWidth = 10;
}
