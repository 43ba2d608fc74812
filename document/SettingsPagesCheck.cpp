#include "document/SettingsPagesCheck.h"

#include "document/SettingsPageExchange.h"
#include "document/WkzFieldRanges.h"
#include "forms/ControlIds.h"
#include "maze/GridPlan.h"
#include "maze/RingPlan.h"
#include "maze/TemplateKind.h"
#include "platform/TextFormat.h"

namespace {

// Circular settings are checked on a large nominal circle: the ring layout depends on the
// inner cell count and the radius fraction, hardly on the radius itself.
constexpr double kNominalRadius = 1e6;

// The controls the values come from (the Dimensions and Page pages).
constexpr int kCellsWide = ControlIds::Dimensions::kCellsWide;
constexpr int kCellsLong = ControlIds::Dimensions::kCellsLong;
constexpr int kInnerCells = ControlIds::Dimensions::kInnerCells;
constexpr int kPageWidth = ControlIds::Page::kWidth;
constexpr int kPageHeight = ControlIds::Page::kHeight;
constexpr int kLeftMargin = ControlIds::Page::kLeftMargin;
constexpr int kTopMargin = ControlIds::Page::kTopMargin;

// A field of the Page page: its value in 0.001 inch as the settings keep it, and the range
// kept. The range is stated in inches as the page shows them (a side one unit larger).
struct PageField {
    int controlId;
    int thousandths;
    int low;
    int high;
    bool side;
};

std::string Inches(int thousandths, bool side) {
    return Format("%g", (thousandths + (side ? 1 : 0)) / 1000.0);
}

} // namespace

std::optional<SettingsPagesCheck::Refusal> SettingsPagesCheck::PageValues(const PP3& page) {
    const int maxSide = WkzFieldRanges::kMaxPageSide;
    const PageField fields[] = {
        {kPageHeight, SettingsPageExchange::PageSideFromInches(page.height),
         MazeSettings::kTopBand + 1, maxSide, true},
        {kPageWidth, SettingsPageExchange::PageSideFromInches(page.width), 1, maxSide, true},
        {kLeftMargin, SettingsPageExchange::OffsetFromInches(page.leftMargin), 0,
         WkzFieldRanges::kMaxOffset, false},
        {kTopMargin, SettingsPageExchange::OffsetFromInches(page.topMargin), 0,
         WkzFieldRanges::kMaxOffset, false},
    };
    for (const PageField& f : fields) {
        if (f.thousandths >= f.low && f.thousandths <= f.high)
            continue;
        // The top of the range is said as the page side kept, in whole inches.
        return Refusal{SettingsPages::kPage, f.controlId,
                       Format("Please enter a number between %s and %s.",
                              Inches(f.low, f.side).c_str(), Inches(f.high, false).c_str())};
    }
    return std::nullopt;
}

std::optional<SettingsPagesCheck::Refusal> SettingsPagesCheck::For(const SettingsPages& pages) {
    const MazeSettings next = SettingsPageExchange::Read(pages, MazeSettings{});
    const GridPlan plan = GridPlan::For(next);
    switch (plan.GetFault()) {
    case GridPlan::Fault::none:
        break;
    case GridPlan::Fault::pageWidth:
        return Refusal{SettingsPages::kPage, kPageWidth, plan.Error()};
    case GridPlan::Fault::pageHeight:
        return Refusal{SettingsPages::kPage, kPageHeight, plan.Error()};
    case GridPlan::Fault::columns:
        return Refusal{SettingsPages::kDimensions, kCellsWide, plan.Error()};
    case GridPlan::Fault::rows:
        return Refusal{SettingsPages::kDimensions, kCellsLong, plan.Error()};
    }
    if (next.kind != KIND_CIRCULAR)
        return std::nullopt;
    const PP2& dim = pages.dimensions;
    const RingPlan rings =
        RingPlan::For(kNominalRadius, dim.innerRadiusCells, dim.innerRadiusPercent / 100.0);
    if (rings.Ok())
        return std::nullopt;
    return Refusal{SettingsPages::kDimensions, kInnerCells, rings.Error()};
}
