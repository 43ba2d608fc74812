#pragma once
#include "app/NeighbourCache.h"
#include "app/SideCandidates.h"
#include "app/frontier_location.h"

#include <array>

class CGridloomDoc;
class FrontierList;
class Object;
struct MazeCell;

// The cell work that growing a maze and drawing a solution share: scanning the neighbours of
// a cell for carved or frontier cells, and opening sides while keeping the frontier list in
// step with the cells' frontier flags.
class MazeCarver {
public:
    MazeCarver(CGridloomDoc& doc, FrontierList& frontier);

    const NeighbourCache& Neighbours() const { return neighbours_; }
    int SideCount(int grid) const { return neighbours_.SideCount(grid); }
    // The cell (no bounds test: callers pass cells inside their grid).
    MazeCell& Cell(const frontier_location& at);
    bool InBounds(const frontier_location& at) const;

    // Marks every free neighbour as frontier; out[s] is 1 where the neighbour across side s
    // is a frontier cell (newly or from before). Returns the number of such sides.
    int AddFrontierNeighbours(const frontier_location& at, SideCandidates& out);
    // out[s] is 1 where the neighbour across side s is carved.
    int FindCarvedNeighbours(const frontier_location& at, SideCandidates& out);
    // out[s] is 1 where the neighbour across side s is a frontier cell.
    int FindFrontierNeighbours(const frontier_location& at, SideCandidates& out);

    // Starts fetching the cell's neighbours, which a scan of the cell will soon read.
    void Prepare(const frontier_location& at);
    // Opens one side of the cell; a listed cell leaves the frontier list.
    void OpenSide(const frontier_location& at, int side);
    // The cell across `side`; false when there is none. `sharedSide` gets the side of the
    // neighbour that faces back.
    bool Across(const frontier_location& at, int side, frontier_location& neighbour,
                int& sharedSide) const;

private:
    template <typename Test> int Scan(const frontier_location& at, SideCandidates& out, Test test);
    Object& Grid(int grid) const { return *grids_[static_cast<std::size_t>(grid)]; }

    NeighbourCache neighbours_;
    FrontierList& frontier_;
    // The neighbours the last scan found, so that stepping across one needs no second look.
    frontier_location scanned_{-1, -1, -1};
    std::array<NeighbourCache::Neighbour, 17> found_{};
    std::array<bool, 17> hasNeighbour_{};
    std::array<Object*, CGridloomDoc::kMaxGrids> grids_{};
};
