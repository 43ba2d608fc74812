#include "maze/RingPlan.h"

#include "maze/Object.h"
#include "platform/TextFormat.h"

#include <cmath>
#include <cstdint>

namespace {
constexpr double kTwoPi = 6.2831853071796;
}

RingPlan RingPlan::For(double outerRadius, int ring0Count, double innerFraction) {
    RingPlan plan;
    if (ring0Count < 1 || !(innerFraction > 0) || !(innerFraction < 1) || !(outerRadius > 0)) {
        plan.error_ = "A circular maze needs at least one cell in its inner ring and an inner "
                      "radius between 0.1% and 99.9% of the outer radius.";
        return plan;
    }
    const double r0 = outerRadius * innerFraction;
    const double w = kTwoPi * r0 / ring0Count;
    const double rings = std::trunc((outerRadius - r0) / w);
    if (!(rings >= 1)) {
        plan.error_ = "These circular settings leave no room for a ring. Use more inner cells or "
                      "a smaller inner radius.";
        return plan;
    }
    if (rings > static_cast<double>(Object::kMaxCells)) {
        plan.error_ = "These circular settings make far more than 4,000,000 cells. Use fewer "
                      "inner cells or a larger inner radius.";
        return plan;
    }
    const auto count = static_cast<std::int64_t>(rings);
    plan.counts_.reserve(static_cast<std::size_t>(count));
    std::int64_t mult = 1;
    for (std::int64_t i = 0; i < count; ++i) {
        const double x = (i * w + r0) * kTwoPi * (360.0 / ring0Count) / 360.0 / mult;
        if (x >= 2 * w)
            mult *= 2;
        const std::int64_t cells = mult * ring0Count;
        // The grid is as wide as the outermost ring, for every ring.
        if (!Object::IsAllowedSize(cells, count)) {
            plan.counts_.clear();
            plan.error_ = Format("These circular settings make a grid of %lld cells; a grid "
                                 "holds at most 4,000,000 cells. Use fewer inner cells or a "
                                 "larger inner radius.",
                                 static_cast<long long>(cells * count));
            return plan;
        }
        plan.counts_.push_back(static_cast<int>(cells));
    }
    return plan;
}
