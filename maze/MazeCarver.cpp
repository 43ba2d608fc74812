#include "maze/MazeCarver.h"

#include "maze/FrontierList.h"
#include "maze/MazeCell.h"
#include "maze/MazeGrids.h"
#include "maze/Object.h"

#include <vector>

MazeCarver::MazeCarver(MazeGrids& grids, FrontierList& frontier)
    : neighbours_(grids), frontier_(frontier), cells_(grids) {
    // The grids may have been rebuilt since the frontier was last used.
    std::vector<FrontierList::Extent> extents;
    for (int g = 0; g < neighbours_.GridCount(); ++g) {
        extents.push_back({grids.GetGrid(g)->Width(), grids.GetGrid(g)->Height()});
    }
    frontier_.Reshape(extents);
    for (int g = 0; g < neighbours_.GridCount(); ++g) {
        firstSlots_[static_cast<std::size_t>(g)] = frontier_.FirstSlot(g);
    }
    // Cells are flagged exactly while they are listed, which appending relies on. From the
    // back, so that each entry moved into a hole has been looked at already.
    for (std::size_t i = frontier_.Size(); i-- > 0;) {
        if (!Cell(frontier_[i]).IsFrontier()) {
            frontier_.RemoveAt(i);
        }
    }
}

bool MazeCarver::InBounds(const frontier_location& at) const {
    return at.grid >= 0 && at.grid < neighbours_.GridCount() &&
           frontier_.SlotOf(at) != FrontierList::kNoSlot;
}

void MazeCarver::PrepareAnew(const frontier_location& at) {
    prepared_ = at;
    const std::size_t index = cells_.IndexOf(at.column, at.row, at.grid);
    preparedCell_ = cells_.Cells(at.grid) + index;
    preparedSlot_ = SlotOf(at.grid, index);
    const std::size_t sides = static_cast<std::size_t>(SideCount(at.grid));
    for (std::size_t i = 1; i <= sides; ++i) {
        acrossCell_[i] = nullptr;
    }
    std::uint32_t kept = 0;
    // Ask for every neighbour's cell early: in a large maze the cells come from far memory,
    // and fetching them together, ahead of their use, is much faster than one by one.
    neighbours_.ForEachNeighbour(
        at.column, at.row, at.grid,
        [&](int side, int column, int row, int grid, int sharedSide, std::size_t place)
            __attribute__((always_inline)) {
                const std::size_t i = static_cast<std::size_t>(side);
                kept |= 1u << side;
                acrossColumn_[i] = column;
                acrossRow_[i] = row;
                acrossGrid_[i] = grid;
                acrossSide_[i] = sharedSide;
                const std::size_t slot = SlotOf(grid, place);
                acrossSlot_[i] = slot;
                // A one-cell ring or a one-column wrapped grid meets itself; a cell never joins
                // itself.
                if (slot != preparedSlot_) {
                    MazeCell* cell = cells_.Cells(grid) + place;
                    acrossCell_[i] = cell;
                    __builtin_prefetch(cell);
                }
            });
    kept_ = kept;
}
