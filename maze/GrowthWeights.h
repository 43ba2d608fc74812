#pragma once
#include <array>
#include <span>
#include <vector>

// Growth weights of a cell's sides, blended from the eight compass weights by each side's
// direction. The compass array is CENTER, N, NE, E, SE, S, SW, W, NW; CENTER is unused.
class GrowthWeights {
public:
    using Compass = std::array<int, 9>;

    // The weight of a side facing `angle` degrees (0 north, 90 east).
    static int Interpolate(const Compass& compass, double angle);
    // One weight per side, side s at index s-1.
    static std::vector<int> Compute(const Compass& compass, std::span<const double> sideAngles);
};
