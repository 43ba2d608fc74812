#pragma once
#include "maze/MazeGrids.h"
#include "maze/NeighbourStepper.h"

#include <array>
#include <optional>

// The neighbour lookups of one generator or solver run. Lattice grids step by rules looked up
// once per side; ring grids, whose rules depend on the ring, keep one stepper for the run.
// Valid while the grids, wrap flags and ring counts stay as they were.
class NeighbourCache {
public:
    using Neighbour = MazeGrids::Neighbour;
    static constexpr int kMaxSide = 16;

    explicit NeighbourCache(const MazeGrids& grids);

    int GridCount() const { return gridCount_; }
    int SideCount(int grid) const { return grids_[static_cast<std::size_t>(grid)].sides; }
    bool IsRing(int grid) const { return grids_[static_cast<std::size_t>(grid)].ring; }

    // A lattice side's step: no cell lies across it unless the cell stepped to is inside the
    // extent of grid `toGrid`.
    struct Step {
        int toGrid = -1;
        int toSide = 0;
        int dx = 0;
        int dy = 0;
        int toWidth = 0; // the extent of the grid stepped to: none without a rule
        int toHeight = 0;
    };
    // True when every grid is an unwrapped lattice whose cells never meet themselves: then
    // StepOf gives every neighbour.
    bool IsPlainLattice() const;
    const Step& StepOf(int grid, int side) const {
        return grids_[static_cast<std::size_t>(grid)].steps[static_cast<std::size_t>(side)];
    }

    // Calls visit(side, column, row, grid, sharedSide, place) for every side 1..SideCount(grid)
    // that leads to a cell: the neighbour's place as Find gives it, field by field so that it
    // can stay in registers, and `place`, the cell's index in its grid's cell array. What Find
    // checks per side is checked once here, and the lattice steps are inline: this runs for
    // every step of a walk.
    template <typename Visit>
    void ForEachNeighbour(int column, int row, int grid, Visit visit) const;

    // The cell across `side` of a cell, inside its grid; false when there is none.
    bool Find(int column, int row, int grid, int side, Neighbour& out) const {
        // Unsigned compares fold the lower bounds in: this runs for every side of every step.
        if (!Below(grid, gridCount_) || !Below(side - 1, kMaxSide)) {
            return false;
        }
        const GridInfo& from = grids_[static_cast<std::size_t>(grid)];
        if (from.ring) {
            // Through a copy, so that `out` never has its address taken and can stay in
            // registers on the lattice path.
            Neighbour ring{};
            if (!FindOnRing(column, row, grid, side, ring)) {
                return false;
            }
            out = ring;
            return true;
        }
        const Step& step = from.steps[static_cast<std::size_t>(side)];
        if (step.toGrid < 0) {
            return false;
        }
        int c = column + step.dx;
        int r = row + step.dy;
        if (wrapH_) {
            c = c == -1 ? columns_ - 1 : c == columns_ ? 0 : c;
        }
        if (wrapV_) {
            r = r == -1 ? rows_ - 1 : r == rows_ ? 0 : r;
        }
        if (!Below(c, step.toWidth) || !Below(r, step.toHeight)) {
            return false;
        }
        out = Neighbour{c, r, step.toGrid, step.toSide};
        return true;
    }

private:
    struct GridInfo {
        int width = 0;
        int height = 0;
        int sides = 0;
        bool ring = false;
        std::array<Step, kMaxSide + 1> steps{};
    };

    bool FindOnRing(int column, int row, int grid, int side, Neighbour& out) const;
    // 0 <= value < limit, for a limit that is not negative.
    static bool Below(int value, int limit) {
        return static_cast<unsigned>(value) < static_cast<unsigned>(limit);
    }

    std::optional<NeighbourStepper> rings_;
    bool ringParity_ = false; // the circular kind picks inward rules by column parity
    std::array<GridInfo, MazeGrids::kMaxGrids> grids_{};
    int gridCount_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    bool wrapH_ = false;
    bool wrapV_ = false;
};

template <typename Visit>
void NeighbourCache::ForEachNeighbour(int column, int row, int grid, Visit visit) const {
    if (!Below(grid, gridCount_)) {
        return;
    }
    const GridInfo& from = grids_[static_cast<std::size_t>(grid)];
    if (from.ring) {
        for (int s = 1; s <= from.sides; ++s) {
            Neighbour n{};
            if (FindOnRing(column, row, grid, s, n)) {
                const auto width = grids_[static_cast<std::size_t>(n.grid)].width;
                visit(s, n.column, n.row, n.grid, n.side,
                      static_cast<std::size_t>(n.column) +
                          static_cast<std::size_t>(n.row) * static_cast<std::size_t>(width));
            }
        }
        return;
    }
    const bool wraps = wrapH_ || wrapV_;
    for (int s = 1; s <= from.sides; ++s) {
        const Step& step = from.steps[static_cast<std::size_t>(s)];
        int c = column + step.dx;
        int r = row + step.dy;
        if (wraps) {
            c = wrapH_ && c == -1 ? columns_ - 1 : wrapH_ && c == columns_ ? 0 : c;
            r = wrapV_ && r == -1 ? rows_ - 1 : wrapV_ && r == rows_ ? 0 : r;
        }
        // A side without a rule steps into an empty extent.
        if (Below(c, step.toWidth) && Below(r, step.toHeight)) {
            visit(s, c, r, step.toGrid, step.toSide,
                  static_cast<std::size_t>(c) +
                      static_cast<std::size_t>(r) * static_cast<std::size_t>(step.toWidth));
        }
    }
}
