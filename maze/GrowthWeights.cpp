#include "maze/GrowthWeights.h"

#include <cmath>
#include <limits>

int GrowthWeights::Interpolate(const Compass& compass, double angle) {
    if (!std::isfinite(angle)) {
        return 0;
    }
    angle = std::fmod(angle, 360.0);
    if (angle < 0) {
        angle += 360.0;
    }
    int sector = static_cast<int>(angle / 45.0) + 1; // 1..8
    if (sector > 8) {
        sector = 8;
    }
    const int lo = sector;
    const int hi = sector == 8 ? 1 : sector + 1; // NW blends back into N
    const double f = (angle - (sector - 1) * 45.0) / 45.0;
    const double blend = compass[lo] * (1.0 - f) + f * compass[hi];
    // Clamped so that absurd profile values cannot overflow the conversion.
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    if (blend >= kMax) {
        return std::numeric_limits<int>::max();
    }
    if (blend <= kMin) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(blend);
}

std::vector<int> GrowthWeights::Compute(const Compass& compass,
                                        std::span<const double> sideAngles) {
    std::vector<int> weights;
    weights.reserve(sideAngles.size());
    for (double angle : sideAngles) {
        weights.push_back(Interpolate(compass, angle));
    }
    return weights;
}
