#pragma once
#include <array>
#include <vector>

class Object;

// How strongly the generator favours each compass direction: CENTER, N, NE, E, SE, S, SW, W,
// NW (CENTER is carried but never used), plus the relative-direction flag.
struct CompassWeights {
    enum Index { CENTER, N, NE, E, SE, S, SW, W, NW, kCount };

    std::array<int, kCount> values{0, 1, 1, 1, 1, 1, 1, 1, 1};
    int relative = 0;

    // One weight per side of the grid's cells (index side - 1).
    std::vector<int> WeightsFor(const Object& grid) const;

    friend bool operator==(const CompassWeights&, const CompassWeights&) = default;
};
