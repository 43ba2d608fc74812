#pragma once
#include "maze/FrontierList.h"
#include "maze/MazeCell.h"
#include "maze/NeighbourCache.h"
#include "maze/SideCandidates.h"

#include <array>
#include <cstddef>
#include <optional>

// The cells of a maze made of one unwrapped lattice grid, where every side's neighbour lies a
// fixed distance away in the flat cell array. Growing and solving such a maze step by adding
// that distance, without the general lookups: the same cells in the same order, only faster.
class LatticeCells {
public:
    // A place in the grid, kept whole so that no step has to divide.
    struct Place {
        int column = 0;
        int row = 0;
        std::size_t index = 0;
    };

    // None unless the grids are a single unwrapped lattice.
    static std::optional<LatticeCells> Of(const NeighbourCache& neighbours, MazeCell* cells);

    int SideCount() const { return sides_; }
    int Width() const { return width_; }
    MazeCell& Cell(const Place& at) const { return cells_[at.index]; }
    Place PlaceOf(std::size_t index) const {
        const auto width = static_cast<std::size_t>(width_);
        return {static_cast<int>(index % width), static_cast<int>(index / width), index};
    }
    // The side of the neighbour across `side` that faces back.
    int SharedSide(int side) const { return steps_[static_cast<std::size_t>(side)].sharedSide; }
    // Moves `at` across `side`; false, leaving it, when no cell lies there.
    bool Step(Place& at, int side) const {
        const Offset& o = steps_[static_cast<std::size_t>(side)];
        const int c = at.column + o.dx;
        const int r = at.row + o.dy;
        if (static_cast<unsigned>(c) >= o.width || static_cast<unsigned>(r) >= o.height) {
            return false;
        }
        at = {c, r, at.index + static_cast<std::size_t>(o.distance)};
        return true;
    }
    // out[s] is 1 where a neighbour lies across side s and test(neighbour, its index) holds.
    template <typename Test> int Scan(const Place& at, SideCandidates& out, Test test) const {
        out[0] = 0;
        for (int s = 1; s <= sides_; ++s) {
            Place n = at;
            const int hit = Step(n, s) && test(cells_[n.index], n.index) ? 1 : 0;
            out[static_cast<std::size_t>(s)] = hit;
            out[0] += hit;
        }
        return out[0];
    }

private:
    struct Offset {
        int dx = 0;
        int dy = 0;
        std::ptrdiff_t distance = 0;
        int sharedSide = 0;
        unsigned width = 0; // none for a side without a neighbour
        unsigned height = 0;
    };

    MazeCell* cells_ = nullptr;
    int width_ = 0;
    int sides_ = 0;
    std::array<Offset, NeighbourCache::kMaxSide + 1> steps_{};
};

// Opens sides and marks frontier cells on a lattice, keeping the frontier list in step with
// the cells' frontier flags, as MazeCarver does for any grid.
class LatticeCarver {
public:
    LatticeCarver(const LatticeCells& cells, FrontierList& frontier)
        : cells_(cells), frontier_(frontier), firstSlot_(frontier.FirstSlot(0)) {}

    const LatticeCells& Cells() const { return cells_; }
    // The place of the frontier entry at `index`.
    LatticeCells::Place Entry(std::size_t index) const {
        return cells_.PlaceOf(frontier_.SlotAt(index) - firstSlot_);
    }
    int FindCarvedNeighbours(const LatticeCells::Place& at, SideCandidates& out) const {
        return cells_.Scan(at, out, [](const MazeCell& n, std::size_t) { return n.IsCarved(); });
    }
    int AddFrontierNeighbours(const LatticeCells::Place& at, SideCandidates& out) {
        return cells_.Scan(at, out, [this](MazeCell& n, std::size_t index) {
            if (n.IsFrontier()) {
                frontier_.Prefetch(firstSlot_ + index);
                return true;
            }
            if (!n.TryMarkFrontier()) {
                return false;
            }
            frontier_.AppendNew(firstSlot_ + index);
            return true;
        });
    }
    void OpenSide(const LatticeCells::Place& at, int side) {
        if (cells_.Cell(at).OpenSide(side)) {
            frontier_.RemoveSlot(firstSlot_ + at.index);
        }
    }

private:
    const LatticeCells& cells_;
    FrontierList& frontier_;
    std::size_t firstSlot_ = 0;
};
