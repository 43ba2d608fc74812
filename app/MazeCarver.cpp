#include "app/MazeCarver.h"

#include "app/CGridloomDoc.h"
#include "app/FrontierList.h"
#include "app/MazeCell.h"
#include "app/Object.h"

#include <algorithm>
#include <vector>

MazeCarver::MazeCarver(CGridloomDoc& doc, FrontierList& frontier)
    : neighbours_(doc), frontier_(frontier), cells_(doc) {
    // The grids may have been rebuilt since the frontier was last used.
    std::vector<FrontierList::Extent> extents;
    for (int g = 0; g < neighbours_.GridCount(); ++g) {
        extents.push_back({doc.GetGrid(g)->Width(), doc.GetGrid(g)->Height()});
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
    kept_ = 0;
    // Ask for every neighbour's cell early: in a large maze the cells come from far memory,
    // and fetching them together, ahead of their use, is much faster than one by one.
    neighbours_.ForEachNeighbour(
        at.column, at.row, at.grid,
        [this](int side, int column, int row, int grid, int sharedSide, std::size_t place)
            __attribute__((always_inline)) {
                const std::size_t i = static_cast<std::size_t>(side);
                kept_ |= 1u << side;
                across_[i] = NeighbourCache::Neighbour{column, row, grid, sharedSide};
                acrossSlot_[i] = SlotOf(grid, place);
                // A one-cell ring or a one-column wrapped grid meets itself; a cell never joins
                // itself.
                acrossCell_[i] = nullptr;
                if (acrossSlot_[i] != preparedSlot_) {
                    acrossCell_[i] = cells_.Cells(grid) + place;
                    __builtin_prefetch(acrossCell_[i]);
                }
            });
}
