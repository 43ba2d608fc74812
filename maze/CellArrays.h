#pragma once
#include "maze/MazeCell.h"
#include "maze/MazeGrids.h"

#include <array>
#include <cstddef>

// Every grid's cell array, reached without going through the grid: the generator's and the
// solver's inner loops read cells millions of times. Valid while the grids keep their sizes.
class CellArrays {
public:
    explicit CellArrays(MazeGrids& grids);

    // The cell's place in its grid's array. No bounds test: callers pass cells inside the grid.
    std::size_t IndexOf(int column, int row, int grid) const {
        return static_cast<std::size_t>(column) +
               static_cast<std::size_t>(row) * static_cast<std::size_t>(Grid(grid).width);
    }
    MazeCell* Cells(int grid) const { return Grid(grid).cells; }
    MazeCell& At(int column, int row, int grid) const {
        return Cells(grid)[IndexOf(column, row, grid)];
    }

private:
    struct GridCells {
        MazeCell* cells = nullptr;
        int width = 0;
    };
    const GridCells& Grid(int grid) const { return grids_[static_cast<std::size_t>(grid)]; }

    std::array<GridCells, MazeGrids::kMaxGrids> grids_{};
};
