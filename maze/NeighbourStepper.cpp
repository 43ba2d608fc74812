#include "maze/NeighbourStepper.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

NeighbourStepper::NeighbourStepper(std::span<const NeighbourRule> rules, int columns, int rows,
                                   bool wrapHorizontally, bool wrapVertically,
                                   std::span<const int> ringCounts)
    : rules_(rules), columns_(columns), rows_(rows), wrapH_(wrapHorizontally),
      wrapV_(wrapVertically), ringCounts_(ringCounts) {}

int NeighbourStepper::RingCount() const {
    return std::min(rows_, static_cast<int>(ringCounts_.size()));
}

NeighbourRule NeighbourStepper::FindRule(int column, int row, int grid, int side,
                                         bool ringGrid) const {
    int parity = 0;
    if (ringGrid && side == 2 && row > 0 && row < RingCount() && Count(row - 1) < Count(row))
        parity = 1 - (column % 2 != 0 ? 1 : 0);
    for (const NeighbourRule& r : rules_) {
        if (r.fromGrid == -1)
            break;
        if (r.fromGrid == grid && r.fromSide == side && r.parity == parity)
            return r;
    }
    return NeighbourRule{};
}

NeighbourStepper::Cell NeighbourStepper::StepPolygon(int column, int row, int dx, int dy) const {
    Cell c{column + dx, row + dy};
    if (wrapH_) {
        if (c.column == -1)
            c.column = columns_ - 1;
        else if (c.column == columns_)
            c.column = 0;
    }
    if (wrapV_) {
        if (c.row == -1)
            c.row = rows_ - 1;
        else if (c.row == rows_)
            c.row = 0;
    }
    return c;
}

std::optional<NeighbourStepper::Cell> NeighbourStepper::StepRing(int side, int column, int row,
                                                                 int dx, int dy) const {
    const int rings = RingCount();
    const int target = row + dy;
    if (row < 0 || row >= rings || target < 0 || target >= rings)
        return std::nullopt;
    const int sides = (row + 1 < rings && Count(row + 1) > Count(row)) ? 5 : 4;
    if (side < 1 || side > sides || Count(row) <= 0 || Count(target) <= 0)
        return std::nullopt;
    const double ratio = static_cast<double>(Count(target)) / Count(row);
    // In 64 bits: a loaded file may hold any counts and columns.
    std::int64_t c = column;
    if (ratio > 1 && (side == 4 || side == 5))
        c = static_cast<std::int64_t>(std::trunc(ratio * column)) + 5 - side;
    else if (ratio < 1 && side == 2)
        c = static_cast<std::int64_t>(std::trunc(ratio * column));
    c += dx;
    if (c < 0)
        c = Count(target) - 1;
    else if (c >= Count(target))
        c = 0;
    return Cell{static_cast<int>(c), target};
}
