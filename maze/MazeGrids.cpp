#include "maze/MazeGrids.h"

#include "maze/NeighbourStepper.h"
#include "maze/TemplateKind.h"
#include "maze/TemplateTables.h"

#include <algorithm>

Object* MazeGrids::GetGrid(int index) {
    return (index >= 0 && index < gridCount_) ? grids_[index].get() : nullptr;
}

const Object* MazeGrids::GetGrid(int index) const {
    return (index >= 0 && index < gridCount_) ? grids_[index].get() : nullptr;
}

void MazeGrids::Destroy() {
    for (auto& g : grids_)
        g.reset();
    gridCount_ = 0;
    builtKind_ = -1;
}

void MazeGrids::Create(const TemplateInfo& info) {
    Destroy();
    const int count = std::min(info.GridCount(), kMaxGrids);
    for (int i = 0; i < count; ++i)
        grids_[i] = std::make_unique<Object>(info.shapes[i]);
    gridCount_ = count;
    builtKind_ = info.kind;
}

bool MazeGrids::SetRingCounts(std::vector<int> counts) {
    Object* grid = GetGrid(0);
    if (!grid || grid->GridType() != GRID_RING || counts.empty())
        return false;
    const int rows = static_cast<int>(counts.size());
    int columns = 0;
    for (int c : counts) {
        if (c < 1)
            return false;
        columns = std::max(columns, c);
    }
    if (!Object::IsAllowedSize(columns, rows) || !grid->AllocateCells(columns, rows))
        return false;
    for (int r = 0; r < rows; ++r)
        for (int c = counts[r]; c < columns; ++c)
            grid->GetCell(c, r).flags = CELL_ERASED;
    ringCounts_ = std::move(counts);
    return true;
}

void MazeGrids::UpdateGrowthWeights() {
    for (int i = 0; i < gridCount_; ++i)
        grids_[i]->SetGrowthWeights(settings_.compass.WeightsFor(*grids_[i]));
}

bool MazeGrids::IsFreeCell(int column, int row, int grid) const {
    const Object* g = GetGrid(grid);
    if (!g || !g->InBounds(column, row))
        return false;
    const MazeCell& cell = g->GetCell(column, row);
    return cell.passages == 0 && (cell.flags & CELL_NOT_ELIGIBLE) == 0;
}

NeighbourRule MazeGrids::FindNeighbourRule(int column, int row, int grid, int side) const {
    // Every grid of a template shares one rule table.
    const Object* g = GetGrid(0);
    if (!g)
        return NeighbourRule{};
    const NeighbourStepper stepper(g->Rules(), settings_.columns, settings_.rows, false, false,
                                   ringCounts_);
    return stepper.FindRule(column, row, grid, side, settings_.kind == KIND_CIRCULAR);
}

std::optional<CPoint> MazeGrids::StepToNeighbour(int side, int column, int row, int grid, int dx,
                                                 int dy) const {
    const Object* g = GetGrid(grid);
    if (!g)
        return std::nullopt;
    const NeighbourStepper stepper(g->Rules(), settings_.columns, settings_.rows,
                                   settings_.wrapHorizontally != 0, settings_.wrapVertically != 0,
                                   ringCounts_);
    if (g->GridType() == GRID_POLYGON) {
        const auto c = stepper.StepPolygon(column, row, dx, dy);
        return CPoint(c.column, c.row);
    }
    if (g->GridType() == GRID_RING) {
        if (const auto c = stepper.StepRing(side, column, row, dx, dy))
            return CPoint(c->column, c->row);
    }
    return std::nullopt;
}

std::optional<MazeGrids::Neighbour> MazeGrids::FindNeighbour(int column, int row, int grid,
                                                             int side) const {
    const NeighbourRule rule = FindNeighbourRule(column, row, grid, side);
    if (rule.fromGrid < 0)
        return std::nullopt;
    const auto p = StepToNeighbour(side, column, row, grid, rule.dx, rule.dy);
    const Object* to = GetGrid(rule.toGrid);
    if (!p || !to || !to->InBounds(p->x, p->y))
        return std::nullopt;
    return Neighbour{p->x, p->y, rule.toGrid, rule.toSide};
}
