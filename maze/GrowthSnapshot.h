#pragma once
#include "maze/MazeCell.h"
#include "maze/MazeProgress.h"

#include <cstdint>
#include <vector>

class CrtRandom;
class MazeGrids;

// The cells, the growth state and the random sequence as they were before an attempt to grow
// a maze, so that an attempt that cannot start leaves everything as it found it.
class GrowthSnapshot {
public:
    GrowthSnapshot(const MazeGrids& grids, const MazeProgress& progress, const CrtRandom& random);
    // Puts the cells (of grids of the sizes taken), the state and the sequence back.
    void Restore(MazeGrids& grids, MazeProgress& progress, CrtRandom& random) const;

private:
    std::vector<std::vector<MazeCell>> cells_;
    MazeProgress progress_;
    std::uint32_t randomState_ = 0;
};
