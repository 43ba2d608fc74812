#pragma once
#include "maze/NeighbourRule.h"

#include <optional>
#include <span>

// Crosses one side of a cell: finds the neighbour rule for the side and moves the column and
// row by it, wrapping across the edges that wrap and around the rings of a circular grid.
class NeighbourStepper {
public:
    struct Cell {
        int column = 0;
        int row = 0;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    NeighbourStepper(std::span<const NeighbourRule> rules, int columns, int rows,
                     bool wrapHorizontally, bool wrapVertically, std::span<const int> ringCounts);

    // The rule for a side; fromGrid is -1 when the table has none. Side 2 of a ring cell whose
    // inner ring has fewer cells picks its rule by the column's parity.
    NeighbourRule FindRule(int column, int row, int grid, int side, bool ringGrid) const;

    // Lattice step: always yields a cell, which may lie outside the grid.
    Cell StepPolygon(int column, int row, int dx, int dy) const;
    // Ring step: none when the side leads out of the rings or the ring has no such side.
    std::optional<Cell> StepRing(int side, int column, int row, int dx, int dy) const;

private:
    int RingCount() const;
    int Count(int ring) const { return ringCounts_[static_cast<std::size_t>(ring)]; }

    std::span<const NeighbourRule> rules_;
    int columns_;
    int rows_;
    bool wrapH_;
    bool wrapV_;
    std::span<const int> ringCounts_;
};
