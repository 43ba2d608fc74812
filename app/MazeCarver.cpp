#include "app/MazeCarver.h"

#include "app/CGridloomDoc.h"
#include "app/FrontierList.h"
#include "app/MazeCell.h"
#include "app/Object.h"

#include <algorithm>

MazeCarver::MazeCarver(CGridloomDoc& doc, FrontierList& frontier)
    : neighbours_(doc), frontier_(frontier) {
    for (int g = 0; g < neighbours_.GridCount(); ++g) {
        grids_[static_cast<std::size_t>(g)] = doc.GetGrid(g);
    }
}

MazeCell& MazeCarver::Cell(const frontier_location& at) {
    return Grid(at.grid).GetCell(at.column, at.row);
}

bool MazeCarver::InBounds(const frontier_location& at) const {
    return at.grid >= 0 && at.grid < neighbours_.GridCount() &&
           Grid(at.grid).InBounds(at.column, at.row);
}

void MazeCarver::Prepare(const frontier_location& at) {
    if (at == scanned_) {
        return; // the neighbours of a cell never change during a run
    }
    scanned_ = at;
    // Ask for every neighbour's cell early: in a large maze the cells come from far memory,
    // and fetching them together, ahead of their use, is much faster than one by one.
    const int sides = SideCount(at.grid);
    for (int s = 1; s <= sides; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        NeighbourCache::Neighbour& n = found_[i];
        hasNeighbour_[i] = neighbours_.Find(at.column, at.row, at.grid, s, n);
        if (hasNeighbour_[i]) {
            __builtin_prefetch(&Grid(n.grid).GetCell(n.column, n.row));
        }
    }
}

template <typename Test>
int MazeCarver::Scan(const frontier_location& at, SideCandidates& out, Test test) {
    Prepare(at);
    const int sides = SideCount(at.grid);
    std::fill_n(out.begin(), sides + 1, 0);
    for (int s = 1; s <= sides; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        const NeighbourCache::Neighbour& n = found_[i];
        // A one-cell ring or a one-column wrapped grid meets itself; a cell never joins itself.
        if (!hasNeighbour_[i] || (n.column == at.column && n.row == at.row && n.grid == at.grid)) {
            continue;
        }
        if (test(Grid(n.grid), n)) {
            out[i] = 1;
            ++out[0];
        }
    }
    return out[0];
}

int MazeCarver::AddFrontierNeighbours(const frontier_location& at, SideCandidates& out) {
    return Scan(at, out, [this](Object& grid, const NeighbourCache::Neighbour& n) {
        MazeCell& cell = grid.GetCell(n.column, n.row);
        // A flagged cell is listed already: flags and list change together here. The walk
        // may step into it next, taking it off the list.
        if (cell.IsFrontier()) {
            frontier_.Prefetch({n.column, n.row, n.grid});
            return true;
        }
        if (!cell.TryMarkFrontier()) {
            return false;
        }
        frontier_.Add({n.column, n.row, n.grid});
        return true;
    });
}

int MazeCarver::FindCarvedNeighbours(const frontier_location& at, SideCandidates& out) {
    return Scan(at, out, [](const Object& grid, const NeighbourCache::Neighbour& n) {
        return grid.GetCell(n.column, n.row).IsCarved();
    });
}

int MazeCarver::FindFrontierNeighbours(const frontier_location& at, SideCandidates& out) {
    return Scan(at, out, [](const Object& grid, const NeighbourCache::Neighbour& n) {
        return grid.GetCell(n.column, n.row).IsFrontier();
    });
}

void MazeCarver::OpenSide(const frontier_location& at, int side) {
    if (Cell(at).OpenSide(side)) {
        frontier_.Remove(at);
    }
}

bool MazeCarver::Across(const frontier_location& at, int side, frontier_location& neighbour,
                        int& sharedSide) const {
    NeighbourCache::Neighbour n{};
    if (at == scanned_ && side >= 1 && side <= SideCount(at.grid)) {
        if (!hasNeighbour_[static_cast<std::size_t>(side)]) {
            return false;
        }
        n = found_[static_cast<std::size_t>(side)];
    } else if (!neighbours_.Find(at.column, at.row, at.grid, side, n)) {
        return false;
    }
    neighbour = frontier_location{n.column, n.row, n.grid};
    sharedSide = n.side;
    return true;
}
