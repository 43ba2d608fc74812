#include "maze/CompassWeights.h"

#include "maze/GrowthWeights.h"
#include "maze/Object.h"

std::vector<int> CompassWeights::WeightsFor(const Object& grid) const {
    std::vector<double> angles;
    for (int s = 1; s <= grid.SideCount(); ++s)
        angles.push_back(grid.SideAngle(s));
    return GrowthWeights::Compute(values, angles);
}
