#include "app/CompassWeights.h"

#include "app/GrowthWeights.h"
#include "app/Object.h"

std::vector<int> CompassWeights::WeightsFor(const Object& grid) const {
    std::vector<double> angles;
    for (int s = 1; s <= grid.SideCount(); ++s)
        angles.push_back(grid.SideAngle(s));
    return GrowthWeights::Compute(values, angles);
}
