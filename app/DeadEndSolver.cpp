#include "app/DeadEndSolver.h"

#include "app/CGridloomDoc.h"
#include "app/ICellPainter.h"
#include "app/MazeCell.h"
#include "app/Object.h"
#include "app/frontier_location.h"

#include <algorithm>

DeadEndSolver::DeadEndSolver(CGridloomDoc& doc) : doc_(doc), neighbours_(doc) {}

long DeadEndSolver::Solve() {
    for (int g = 0; g < doc_.GridCount(); ++g) {
        Object& grid = *doc_.GetGrid(g);
        std::copy(grid.Cells().begin(), grid.Cells().end(), grid.BackupCells().begin());
    }
    while (FillPass()) {
    }
    doc_.reRender = 1;
    return MarkSolution();
}

bool DeadEndSolver::FillPass() {
    bool changed = false;
    const int columns = doc_.Settings().columns;
    const int rows = doc_.Settings().rows;
    for (int g = 0; g < doc_.GridCount(); ++g) {
        const Object& grid = *doc_.GetGrid(g);
        // The document's columns and rows may exceed a grid loaded from a file.
        const int width = std::min(columns, grid.Width());
        const int height = std::min(rows, grid.Height());
        for (int c = 0; c < width; ++c) {
            for (int r = 0; r < height; ++r) {
                changed = FillFrom(c, r, g) || changed;
            }
        }
    }
    return changed;
}

bool DeadEndSolver::FillFrom(int column, int row, int grid) {
    frontier_location cell{column, row, grid};
    Object* at = doc_.GetGrid(grid);
    int side = 0;
    int passages = at->CountPassages(column, row, &side);
    bool changed = false;
    while (passages == 1) {
        changed = true;
        at->CloseSide(side, cell.column, cell.row);
        Paint(cell);
        NeighbourCache::Neighbour next{};
        // A side leading out of the grid (a wrapped maze shown without wrapping) ends the
        // corridor here: there is no cell to read beyond it.
        if (!neighbours_.Find(cell.column, cell.row, cell.grid, side, next)) {
            break;
        }
        cell = frontier_location{next.column, next.row, next.grid};
        at = doc_.GetGrid(next.grid);
        at->CloseSide(next.side, cell.column, cell.row);
        passages = at->CountPassages(cell.column, cell.row, &side);
    }
    return changed;
}

void DeadEndSolver::Paint(const frontier_location& cell) {
    ICellPainter* painter = doc_.CellPainter();
    if (!painter || !doc_.Settings().animate) {
        return;
    }
    if (neighbours_.IsRing(cell.grid)) {
        painter->DrawRingCell(cell.column, cell.row, cell.grid, 1);
    } else {
        painter->DrawPolygonCell(cell.column, cell.row, cell.grid, 1);
    }
    painter->Pause(doc_.Settings().animationDelay);
}

long DeadEndSolver::MarkSolution() {
    long marked = 0;
    for (int g = 0; g < doc_.GridCount(); ++g) {
        Object& grid = *doc_.GetGrid(g);
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
