#pragma once
#include "app/CGridloomDoc.h"
#include "app/NeighbourStepper.h"

#include <array>
#include <optional>

// The neighbour lookups of one generator or solver run. Lattice grids step by rules looked up
// once per side; ring grids, whose rules depend on the ring, keep one stepper for the run.
// Valid while the document's grids, wrap flags and ring counts stay as they were.
class NeighbourCache {
public:
    using Neighbour = CGridloomDoc::Neighbour;

    explicit NeighbourCache(const CGridloomDoc& doc);

    int GridCount() const { return gridCount_; }
    int SideCount(int grid) const { return grids_[static_cast<std::size_t>(grid)].sides; }
    bool IsRing(int grid) const { return grids_[static_cast<std::size_t>(grid)].ring; }

    // The cell across `side` of a cell, inside its grid; false when there is none.
    bool Find(int column, int row, int grid, int side, Neighbour& out) const {
        if (grid < 0 || grid >= gridCount_ || side < 1 || side > kMaxSide) {
            return false;
        }
        const GridInfo& from = grids_[static_cast<std::size_t>(grid)];
        if (from.ring) {
            return FindOnRing(column, row, grid, side, out);
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
        const GridInfo& to = grids_[static_cast<std::size_t>(step.toGrid)];
        if (c < 0 || c >= to.width || r < 0 || r >= to.height) {
            return false;
        }
        out = Neighbour{c, r, step.toGrid, step.toSide};
        return true;
    }

private:
    static constexpr int kMaxSide = 16;
    struct Step {
        int toGrid = -1;
        int toSide = 0;
        int dx = 0;
        int dy = 0;
    };
    struct GridInfo {
        int width = 0;
        int height = 0;
        int sides = 0;
        bool ring = false;
        std::array<Step, kMaxSide + 1> steps{};
    };

    bool FindOnRing(int column, int row, int grid, int side, Neighbour& out) const;

    std::optional<NeighbourStepper> rings_;
    bool ringParity_ = false; // the circular kind picks inward rules by column parity
    std::array<GridInfo, CGridloomDoc::kMaxGrids> grids_{};
    int gridCount_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    bool wrapH_ = false;
    bool wrapV_ = false;
};
