#include "maze/NeighbourCache.h"

#include "maze/TemplateKind.h"

#include <algorithm>

NeighbourCache::NeighbourCache(const MazeGrids& grids)
    : gridCount_(std::clamp(grids.GridCount(), 0, MazeGrids::kMaxGrids)),
      columns_(grids.Settings().columns), rows_(grids.Settings().rows),
      wrapH_(grids.Settings().wrapHorizontally != 0), wrapV_(grids.Settings().wrapVertically != 0) {
    for (int g = 0; g < gridCount_; ++g) {
        const Object& grid = *grids.GetGrid(g);
        GridInfo& info = grids_[static_cast<std::size_t>(g)];
        info.width = grid.Width();
        info.height = grid.Height();
        info.sides = std::clamp(grid.SideCount(), 0, kMaxSide);
        info.ring = grid.GridType() == GRID_RING;
        if (grid.GridType() != GRID_POLYGON) {
            continue; // rings ask the ring stepper; other types have no neighbours
        }
        for (int s = 1; s <= kMaxSide; ++s) {
            const NeighbourRule rule = grids.FindNeighbourRule(0, 0, g, s);
            if (rule.fromGrid < 0 || rule.toGrid < 0 || rule.toGrid >= gridCount_) {
                continue;
            }
            const Object& to = *grids.GetGrid(rule.toGrid);
            info.steps[static_cast<std::size_t>(s)] =
                Step{rule.toGrid, rule.toSide, rule.dx, rule.dy, to.Width(), to.Height()};
        }
    }
    // A grid of another type steps nowhere: its steps stay empty and it is not a ring.
    if (gridCount_ > 0) {
        rings_.emplace(grids.GetGrid(0)->Rules(), columns_, rows_, wrapH_, wrapV_,
                       grids.RingCounts());
        ringParity_ = grids.Settings().kind == KIND_CIRCULAR;
    }
}

bool NeighbourCache::IsPlainLattice() const {
    if (wrapH_ || wrapV_) {
        return false;
    }
    for (int g = 0; g < gridCount_; ++g) {
        const GridInfo& grid = grids_[static_cast<std::size_t>(g)];
        if (grid.ring) {
            return false;
        }
        for (int s = 1; s <= grid.sides; ++s) {
            const Step& step = grid.steps[static_cast<std::size_t>(s)];
            if (step.toGrid == g && step.dx == 0 && step.dy == 0) {
                return false;
            }
        }
    }
    return true;
}

bool NeighbourCache::FindOnRing(int column, int row, int grid, int side, Neighbour& out) const {
    if (!rings_) {
        return false;
    }
    const NeighbourRule rule = rings_->FindRule(column, row, grid, side, ringParity_);
    if (rule.fromGrid < 0 || rule.toGrid < 0 || rule.toGrid >= gridCount_) {
        return false;
    }
    const auto cell = rings_->StepRing(side, column, row, rule.dx, rule.dy);
    const GridInfo& to = grids_[static_cast<std::size_t>(rule.toGrid)];
    if (!cell || cell->column < 0 || cell->column >= to.width || cell->row < 0 ||
        cell->row >= to.height) {
        return false;
    }
    out = Neighbour{cell->column, cell->row, rule.toGrid, rule.toSide};
    return true;
}
