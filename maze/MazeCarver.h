#pragma once
#include "maze/CellArrays.h"
#include "maze/FrontierList.h"
#include "maze/MazeCell.h"
#include "maze/NeighbourCache.h"
#include "maze/SideCandidates.h"
#include "maze/frontier_location.h"

#include <array>
#include <cstddef>
#include <cstdint>

class MazeGrids;

// The cell work that growing a maze and drawing a solution share: scanning the neighbours of
// a cell for carved or frontier cells, and opening sides while keeping the frontier list in
// step with the cells' frontier flags. Fits the frontier's index to the grids as they are and
// drops entries whose cells are no longer flagged (the cells were cleared or rebuilt).
// A walk prepares, scans, opens and steps for every cell, so those calls are inline.
class MazeCarver {
public:
    MazeCarver(MazeGrids& grids, FrontierList& frontier);

    using Place = frontier_location;

    const NeighbourCache& Neighbours() const { return neighbours_; }
    int SideCount(int grid) const { return neighbours_.SideCount(grid); }
    // The cell (no bounds test: callers pass cells inside their grid).
    MazeCell& Cell(const frontier_location& at) {
        return at == prepared_ ? *preparedCell_ : cells_.At(at.column, at.row, at.grid);
    }
    bool InBounds(const frontier_location& at) const;
    // The frontier entry at `index`.
    frontier_location Entry(std::size_t index) const { return frontier_[index]; }

    // Marks every free neighbour as frontier; out[s] is 1 where the neighbour across side s
    // is a frontier cell (newly or from before). Returns the number of such sides.
    int AddFrontierNeighbours(const frontier_location& at, SideCandidates& out);
    // out[s] is 1 where the neighbour across side s is carved.
    int FindCarvedNeighbours(const frontier_location& at, SideCandidates& out) {
        return Scan(at, out, [this](std::size_t i) { return acrossCell_[i]->IsCarved(); });
    }
    // out[s] is 1 where the neighbour across side s is a frontier cell.
    int FindFrontierNeighbours(const frontier_location& at, SideCandidates& out) {
        return Scan(at, out, [this](std::size_t i) { return acrossCell_[i]->IsFrontier(); });
    }

    // Looks up the cell's neighbours and starts fetching their cells, which a scan of the
    // cell will soon read: the sooner after a step, the more of the wait is hidden.
    void Prepare(const frontier_location& at) {
        if (!(at == prepared_)) {
            PrepareAnew(at);
        }
    }
    // Opens one side of the cell; a listed cell leaves the frontier list.
    void OpenSide(const frontier_location& at, int side);
    // The cell across `side`; false when there is none. `sharedSide` gets the side of the
    // neighbour that faces back.
    bool Across(const frontier_location& at, int side, frontier_location& neighbour,
                int& sharedSide) const;
    // Moves `at` across `side`, as Across; false, leaving it, when no cell lies there.
    bool Step(frontier_location& at, int side, int& sharedSide) const {
        frontier_location next{};
        if (!Across(at, side, next, sharedSide)) {
            return false;
        }
        at = next;
        return true;
    }

private:
    static constexpr std::size_t kSides = NeighbourCache::kMaxSide + 1;

    void PrepareAnew(const frontier_location& at);
    // Prepares the cell and runs test(s) for every side s that leads to another cell; out[s]
    // is 1 where it holds.
    template <typename Test> int Scan(const frontier_location& at, SideCandidates& out, Test test);
    bool Leads(std::size_t side) const { return (kept_ >> side & 1u) != 0; }
    // The frontier index slot of the cell at `index` in the grid's array.
    std::size_t SlotOf(int grid, std::size_t index) const {
        return firstSlots_[static_cast<std::size_t>(grid)] + index;
    }

    NeighbourCache neighbours_;
    FrontierList& frontier_;
    CellArrays cells_;
    std::array<std::size_t, MazeGrids::kMaxGrids> firstSlots_{}; // in the frontier's index
    // The last prepared cell and its neighbours (a cell's neighbours never change in a run).
    // Bit s of `kept_` is set where side s leads to a neighbour: acrossColumn_[s] and the
    // rest say where it is (acrossSide_ being the side that faces back), acrossCell_[s] is its
    // cell (null when there is none or it is the prepared cell itself) and acrossSlot_[s] its
    // frontier index slot. Kept field by field: whole records are copied through vector
    // registers, which costs more than it saves here.
    frontier_location prepared_{-1, -1, -1};
    MazeCell* preparedCell_ = nullptr;
    std::size_t preparedSlot_ = 0;
    std::uint32_t kept_ = 0;
    std::array<int, kSides> acrossColumn_{};
    std::array<int, kSides> acrossRow_{};
    std::array<int, kSides> acrossGrid_{};
    std::array<int, kSides> acrossSide_{};
    std::array<MazeCell*, kSides> acrossCell_{};
    std::array<std::size_t, kSides> acrossSlot_{};
};

template <typename Test>
int MazeCarver::Scan(const frontier_location& at, SideCandidates& out, Test test) {
    Prepare(at);
    const int sides = SideCount(at.grid);
    out[0] = 0;
    for (int s = 1; s <= sides; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        const int hit = (acrossCell_[i] != nullptr && test(i)) ? 1 : 0;
        out[i] = hit;
        out[0] += hit;
    }
    return out[0];
}

inline int MazeCarver::AddFrontierNeighbours(const frontier_location& at, SideCandidates& out) {
    return Scan(at, out, [this](std::size_t i) {
        MazeCell& cell = *acrossCell_[i];
        // A flagged cell is listed already: flags and list change together here. The walk
        // may step into it next, taking it off the list.
        if (cell.IsFrontier()) {
            frontier_.Prefetch(acrossSlot_[i]);
            return true;
        }
        if (!cell.TryMarkFrontier()) {
            return false;
        }
        frontier_.AppendNew(acrossSlot_[i]);
        return true;
    });
}

inline void MazeCarver::OpenSide(const frontier_location& at, int side) {
    if (at == prepared_) {
        if (preparedCell_->OpenSide(side)) {
            frontier_.RemoveSlot(preparedSlot_);
        }
        return;
    }
    const std::size_t index = cells_.IndexOf(at.column, at.row, at.grid);
    if (cells_.Cells(at.grid)[index].OpenSide(side)) {
        frontier_.RemoveSlot(SlotOf(at.grid, index));
    }
}

inline bool MazeCarver::Across(const frontier_location& at, int side, frontier_location& neighbour,
                               int& sharedSide) const {
    if (at == prepared_ && side >= 1 && side <= SideCount(at.grid)) {
        const std::size_t i = static_cast<std::size_t>(side);
        if (!Leads(i)) {
            return false;
        }
        neighbour = frontier_location{acrossColumn_[i], acrossRow_[i], acrossGrid_[i]};
        sharedSide = acrossSide_[i];
        return true;
    }
    NeighbourCache::Neighbour n{};
    if (!neighbours_.Find(at.column, at.row, at.grid, side, n)) {
        return false;
    }
    neighbour = frontier_location{n.column, n.row, n.grid};
    sharedSide = n.side;
    return true;
}
