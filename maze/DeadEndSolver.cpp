#include "maze/DeadEndSolver.h"

#include "maze/ICellPainter.h"
#include "maze/LatticeCells.h"
#include "maze/MazeCell.h"
#include "maze/MazeGrids.h"
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
    FillPass();
    return MarkSolution();
}

void DeadEndSolver::FillPass() {
    const int columns = grids_.Settings().columns;
    const int rows = grids_.Settings().rows;
    const auto lattice = LatticeCells::Of(neighbours_, grids_);
    for (int g = 0; g < grids_.GridCount(); ++g) {
        Object& grid = *grids_.GetGrid(g);
        // The settings' columns and rows may exceed a grid loaded from a file.
        const int width = std::min(columns, grid.Width());
        const int height = std::min(rows, grid.Height());
        auto visit = [&](int c, int r) {
            if (const int side = DeadEndSide(grid.GetCell(c, r))) {
                FillFrom({c, r, g}, side);
            }
        };
        // What fills is the same in any order; only an animation shows the order, so it
        // goes column by column then, and along the rows of the cell array otherwise.
        if (painter_) {
            for (int c = 0; c < width; ++c) {
                for (int r = 0; r < height; ++r) {
                    visit(c, r);
                }
            }
        } else if (lattice) {
            FillLattice(*lattice, g, width, height);
        } else {
            // Through a local pointer: the grid's own accessors would be read again after
            // every fill, which may write any cell.
            MazeCell* const cells = grid.Cells().data();
            const std::size_t stride = static_cast<std::size_t>(grid.Width());
            for (int r = 0; r < height; ++r) {
                const MazeCell* row = cells + static_cast<std::size_t>(r) * stride;
                for (int c = 0; c < width; ++c) {
                    if (const int side = DeadEndSide(row[c])) {
                        FillFrom({c, r, g}, side);
                    }
                }
            }
        }
    }
}

void DeadEndSolver::FillLattice(const LatticeCells& cells, int grid, int width, int height) {
    for (int r = 0; r < height; ++r) {
        LatticeCells::Place at = cells.PlaceOf({0, r, grid});
        for (int c = 0; c < width; ++c, ++at.column, ++at.index) {
            if (const int side = DeadEndSide(cells.Cell(at))) {
                FillFromOnLattice(cells, at, side);
            }
        }
    }
}

// FillFrom on a lattice.
void DeadEndSolver::FillFromOnLattice(const LatticeCells& cells, LatticeCells::Place at, int side) {
    while (side != 0) {
        cells.Cell(at).CloseSide(side);
        const int shared = cells.SharedSide(at, side);
        if (!cells.Step(at, side)) {
            return;
        }
        MazeCell& next = cells.Cell(at);
        next.CloseSide(shared);
        side = DeadEndSide(next);
    }
}

void DeadEndSolver::FillFrom(frontier_location cell, int side) {
    // The place is kept in plain locals: the loop follows a corridor cell by cell, and a
    // record handed to the painter by reference would live in memory and slow every step.
    int column = cell.column;
    int row = cell.row;
    int grid = cell.grid;
    MazeCell* at = &cells_.At(column, row, grid);
    while (side != 0) {
        at->CloseSide(side);
        if (painter_) {
            Paint({column, row, grid});
        }
        NeighbourCache::Neighbour next{};
        // A side leading out of the grid (a wrapped maze shown without wrapping) ends the
        // corridor here: there is no cell to read beyond it.
        if (!neighbours_.Find(column, row, grid, side, next)) {
            return;
        }
        column = next.column;
        row = next.row;
        grid = next.grid;
        at = &cells_.At(column, row, grid);
        at->CloseSide(next.side);
        side = DeadEndSide(*at);
    }
}

void DeadEndSolver::Paint(const frontier_location& cell) {
    if (neighbours_.IsRing(cell.grid)) {
        painter_->DrawRingCell(cell.column, cell.row, cell.grid, 1);
    } else {
        painter_->DrawPolygonCell(cell.column, cell.row, cell.grid, 1);
    }
    painter_->Pause(delay_);
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
