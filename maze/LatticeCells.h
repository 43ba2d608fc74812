#pragma once
#include "maze/FrontierList.h"
#include "maze/MazeCell.h"
#include "maze/MazeGrids.h"
#include "maze/NeighbourCache.h"
#include "maze/SideCandidates.h"
#include "maze/frontier_location.h"

#include <array>
#include <cstddef>
#include <optional>

// The cells of a maze made of unwrapped lattice grids, where every side's neighbour lies a
// fixed step away. Growing and solving such a maze step on the flat cell arrays, without the
// general lookups: the same cells in the same order, only faster.
class LatticeCells {
public:
    // A place in the grids, kept whole so that no step has to divide.
    struct Place {
        int column = 0;
        int row = 0;
        int grid = 0;
        std::size_t index = 0; // in the grid's cell array
    };

    // None unless the grids are unwrapped lattices.
    static std::optional<LatticeCells> Of(const NeighbourCache& neighbours, MazeGrids& grids);

    int SideCount(int grid) const { return sides_[static_cast<std::size_t>(grid)]; }
    MazeCell& Cell(const Place& at) const {
        return cells_[static_cast<std::size_t>(at.grid)][at.index];
    }
    Place PlaceOf(const frontier_location& at) const {
        return {at.column, at.row, at.grid, IndexOf(at.column, at.row)};
    }
    // Moves `at` across `side`; false, leaving it, when no cell lies there.
    bool Step(Place& at, int side) const {
        const Offset& step = StepOf(at.grid, side);
        const int c = at.column + step.dx;
        const int r = at.row + step.dy;
        if (static_cast<unsigned>(c) >= step.toWidth || static_cast<unsigned>(r) >= step.toHeight) {
            return false;
        }
        at = {c, r, step.toGrid, at.index + static_cast<std::size_t>(step.distance)};
        return true;
    }
    // Step, with `sharedSide` getting the side of the neighbour that faces back.
    bool Step(Place& at, int side, int& sharedSide) const {
        sharedSide = StepOf(at.grid, side).toSide;
        return Step(at, side);
    }
    // out[s] is 1 where a neighbour lies across side s and test(its cell, its place) holds.
    template <typename Test> int Scan(const Place& at, SideCandidates& out, Test test) const {
        out[0] = 0;
        for (int s = 1; s <= SideCount(at.grid); ++s) {
            Place n = at;
            const int hit = Step(n, s) && test(Cell(n), n) ? 1 : 0;
            out[static_cast<std::size_t>(s)] = hit;
            out[0] += hit;
        }
        return out[0];
    }

private:
    // A side's step, with the distance in the cell arrays, which all have one width.
    struct Offset {
        int dx = 0;
        int dy = 0;
        int toGrid = 0;
        int toSide = 0;
        unsigned toWidth = 0; // none for a side without a neighbour
        unsigned toHeight = 0;
        std::ptrdiff_t distance = 0;
    };

    LatticeCells() = default;
    const Offset& StepOf(int grid, int side) const {
        return steps_[static_cast<std::size_t>(grid)][static_cast<std::size_t>(side)];
    }
    std::size_t IndexOf(int column, int row) const {
        return static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * width_;
    }

    std::size_t width_ = 0;
    std::array<MazeCell*, MazeGrids::kMaxGrids> cells_{};
    std::array<int, MazeGrids::kMaxGrids> sides_{};
    std::array<std::array<Offset, NeighbourCache::kMaxSide + 1>, MazeGrids::kMaxGrids> steps_{};
};

// Opens sides and marks frontier cells on a lattice, keeping the frontier list in step with
// the cells' frontier flags, as MazeCarver does for any grid; the two offer the grower the
// same calls.
class LatticeCarver {
public:
    LatticeCarver(const LatticeCells& cells, FrontierList& frontier)
        : cells_(cells), frontier_(frontier) {
        for (std::size_t g = 0; g < frontier.Extents().size() && g < firstSlots_.size(); ++g) {
            firstSlots_[g] = frontier.FirstSlot(static_cast<int>(g));
        }
    }

    using Place = LatticeCells::Place;

    int SideCount(int grid) const { return cells_.SideCount(grid); }
    MazeCell& Cell(const Place& at) const { return cells_.Cell(at); }
    // The place of the frontier entry at `index`.
    Place Entry(std::size_t index) const { return cells_.PlaceOf(frontier_[index]); }
    bool Step(Place& at, int side, int& sharedSide) const {
        return cells_.Step(at, side, sharedSide);
    }
    // A lattice has nothing to look up ahead of a step.
    void Prepare(const Place&) const {}
    int FindCarvedNeighbours(const LatticeCells::Place& at, SideCandidates& out) const {
        return cells_.Scan(
            at, out, [](const MazeCell& n, const LatticeCells::Place&) { return n.IsCarved(); });
    }
    int AddFrontierNeighbours(const LatticeCells::Place& at, SideCandidates& out) {
        return cells_.Scan(at, out, [this](MazeCell& n, const LatticeCells::Place& place) {
            if (n.IsFrontier()) {
                frontier_.Prefetch(SlotOf(place));
                return true;
            }
            if (!n.TryMarkFrontier()) {
                return false;
            }
            frontier_.AppendNew(SlotOf(place));
            return true;
        });
    }
    void OpenSide(const LatticeCells::Place& at, int side) {
        if (cells_.Cell(at).OpenSide(side)) {
            frontier_.RemoveSlot(SlotOf(at));
        }
    }

private:
    std::size_t SlotOf(const LatticeCells::Place& at) const {
        return firstSlots_[static_cast<std::size_t>(at.grid)] + at.index;
    }

    const LatticeCells& cells_;
    FrontierList& frontier_;
    std::array<std::size_t, MazeGrids::kMaxGrids> firstSlots_{};
};
