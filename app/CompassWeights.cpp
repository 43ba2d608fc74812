#include "app/CompassWeights.h"

#include "app/Object.h"

#include <cmath>

int CompassWeights::Interpolate(double angle) const {
    if (!std::isfinite(angle))
        return 0;
    angle = std::fmod(angle, 360.0);
    if (angle < 0)
        angle += 360.0;
    int sector = static_cast<int>(angle / 45.0) + 1; // 1..8
    if (sector > 8)
        sector = 8;
    const int lo = sector;
    const int hi = sector == 8 ? 1 : sector + 1; // NW blends into N
    const double f = (angle - (sector - 1) * 45.0) / 45.0;
    return static_cast<int>(std::trunc(values[lo] * (1.0 - f) + f * values[hi]));
}

std::vector<int> CompassWeights::WeightsFor(const Object& grid) const {
    std::vector<int> weights(static_cast<std::size_t>(grid.SideCount()));
    for (int s = 1; s <= grid.SideCount(); ++s)
        weights[s - 1] = Interpolate(grid.SideAngle(s));
    return weights;
}
