#include "maze/CellArrays.h"

#include "maze/Object.h"

#include <algorithm>

CellArrays::CellArrays(MazeGrids& grids) {
    const int count = std::clamp(grids.GridCount(), 0, MazeGrids::kMaxGrids);
    for (int g = 0; g < count; ++g) {
        Object& grid = *grids.GetGrid(g);
        grids_[static_cast<std::size_t>(g)] = GridCells{grid.Cells().data(), grid.Width()};
    }
}
