#include "maze/DeadEndSolver.h"

#include "maze/CellAnimation.h"
#include "maze/LatticeCells.h"
#include "maze/MazeCell.h"
#include "maze/MazeGrids.h"
#include "maze/NoAnimation.h"
#include "maze/Object.h"
#include "maze/frontier_location.h"

#include "platform/CWaitCursor.h"
#include <algorithm>
#include <bit>

namespace {

// The side of a dead end: a cell with exactly one passage that is not an end (START and STOP
// count one passage more). 0 for any other cell. Asked of every cell, so kept inline.
int DeadEndSide(const MazeCell& cell) {
    const unsigned passages = cell.passages;
    if (passages == 0 || (passages & (passages - 1)) != 0 ||
        (cell.flags & (CELL_START | CELL_STOP)) != 0) {
        return 0;
    }
    return std::countr_zero(passages) + 1;
}

// The cells of any grids, stepped through the general neighbour lookups; offers the fill the
// same calls as LatticeCells.
class GridCells {
public:
    using Place = frontier_location;

    GridCells(const NeighbourCache& neighbours, const CellArrays& cells)
        : neighbours_(neighbours), cells_(cells) {}

    Place PlaceOf(const frontier_location& at) const { return at; }
    MazeCell& Cell(const Place& at) const { return cells_.At(at.column, at.row, at.grid); }
    // A side leading out of the grid (a wrapped maze shown without wrapping) has no cell.
    bool Step(Place& at, int side, int& sharedSide) const {
        NeighbourCache::Neighbour next{};
        if (!neighbours_.Find(at.column, at.row, at.grid, side, next)) {
            return false;
        }
        at = {next.column, next.row, next.grid};
        sharedSide = next.side;
        return true;
    }

private:
    const NeighbourCache& neighbours_;
    const CellArrays& cells_;
};

} // namespace

DeadEndSolver::DeadEndSolver(MazeGrids& grids, ICellPainter* painter)
    : grids_(grids), neighbours_(grids), cells_(grids),
      painter_(grids.Settings().animate ? painter : nullptr),
      delay_(grids.Settings().animationDelay) {}

long DeadEndSolver::Solve() {
    CWaitCursor wait;
    for (int g = 0; g < grids_.GridCount(); ++g) {
        Object& grid = *grids_.GetGrid(g);
        // An earlier solution (before an end moved) must not survive into this one.
        for (MazeCell& cell : grid.Cells()) {
            cell.flags &= static_cast<WORD>(~CELL_SOLUTION);
        }
        std::copy(grid.Cells().begin(), grid.Cells().end(), grid.BackupCells().begin());
    }
    // One pass leaves no dead end behind: a cell whose passages drop is looked at again at
    // once, and the fill goes on from it when it has become a dead end.
    const auto lattice = LatticeCells::Of(neighbours_, grids_);
    auto pass = [&](auto& animation) {
        if (lattice) {
            FillPass(*lattice, animation);
        } else {
            FillPass(GridCells(neighbours_, cells_), animation);
        }
    };
    if (painter_) {
        CellAnimation animation(*painter_, neighbours_, delay_);
        pass(animation);
    } else {
        NoAnimation none;
        pass(none);
    }
    return MarkSolution();
}

template <typename Cells, typename Animation>
void DeadEndSolver::FillPass(const Cells& cells, Animation& animation) {
    const int columns = grids_.Settings().columns;
    const int rows = grids_.Settings().rows;
    for (int g = 0; g < grids_.GridCount(); ++g) {
        const Object& grid = *grids_.GetGrid(g);
        // The settings' columns and rows may exceed a grid loaded from a file.
        const int width = std::min(columns, grid.Width());
        const int height = std::min(rows, grid.Height());
        // Read through a local pointer: through `cells` or the grid, the compiler would
        // fetch the array again after every fill, which may write any cell.
        const MazeCell* const cellsOfGrid = grid.Cells().data();
        const std::size_t stride = static_cast<std::size_t>(grid.Width());
        auto visit = [&](int c, int r) {
            const MazeCell& cell =
                cellsOfGrid[static_cast<std::size_t>(c) + static_cast<std::size_t>(r) * stride];
            if (const int side = DeadEndSide(cell)) {
                FillFrom(cells, animation, cells.PlaceOf({c, r, g}), side);
            }
        };
        // What fills is the same in any order; only an animation shows the order, so it
        // goes column by column then, and along the rows of the cell array otherwise.
        if constexpr (Animation::kAnimates) {
            for (int c = 0; c < width; ++c) {
                for (int r = 0; r < height; ++r) {
                    visit(c, r);
                }
            }
        } else {
            for (int r = 0; r < height; ++r) {
                for (int c = 0; c < width; ++c) {
                    visit(c, r);
                }
            }
        }
    }
}

template <typename Cells, typename Animation>
void DeadEndSolver::FillFrom(const Cells& cells, Animation& animation, typename Cells::Place at,
                             int side) {
    while (side != 0) {
        cells.Cell(at).CloseSide(side);
        animation.Draw(at);
        animation.Pause();
        int shared = 0;
        if (!cells.Step(at, side, shared)) {
            return;
        }
        MazeCell& next = cells.Cell(at);
        next.CloseSide(shared);
        side = DeadEndSide(next);
    }
}

long DeadEndSolver::MarkSolution() {
    long marked = 0;
    for (int g = 0; g < grids_.GridCount(); ++g) {
        Object& grid = *grids_.GetGrid(g);
        auto cells = grid.Cells();
        auto backup = grid.BackupCells();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].IsCarved()) {
                backup[i].SetSolution();
                ++marked;
            }
            cells[i] = backup[i];
        }
    }
    return marked;
}
