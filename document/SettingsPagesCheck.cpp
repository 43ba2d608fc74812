#include "document/SettingsPagesCheck.h"

#include "document/SettingsPageExchange.h"
#include "maze/GridPlan.h"
#include "maze/RingPlan.h"
#include "maze/TemplateKind.h"

namespace {

// Circular settings are checked on a large nominal circle: the ring layout depends on the
// inner cell count and the radius fraction, hardly on the radius itself.
constexpr double kNominalRadius = 1e6;

// The controls the values come from (the Dimensions and Page pages).
constexpr int kCellsWide = 1006;
constexpr int kCellsLong = 1007;
constexpr int kInnerCells = 1009;
constexpr int kPageHeight = 1005;

} // namespace

std::optional<SettingsPagesCheck::Refusal> SettingsPagesCheck::For(const SettingsPages& pages) {
    const MazeSettings next = SettingsPageExchange::Read(pages, MazeSettings{});
    const GridPlan plan = GridPlan::For(next);
    switch (plan.GetFault()) {
    case GridPlan::Fault::none:
        break;
    case GridPlan::Fault::page:
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
