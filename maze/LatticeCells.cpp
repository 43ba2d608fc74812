#include "maze/LatticeCells.h"
#include <cstdio>

std::optional<LatticeCells> LatticeCells::Of(const NeighbourCache& neighbours, MazeCell* cells) {
    const auto lattice = neighbours.SingleLattice();
    if (!lattice) {
        return std::nullopt;
    }
    fprintf(stderr, "LATTICE sides=%d\n", neighbours.SideCount(0));
    LatticeCells out;
    out.cells_ = cells;
    out.width_ = lattice->width;
    out.sides_ = neighbours.SideCount(0);
    for (int s = 1; s <= out.sides_; ++s) {
        const NeighbourCache::Offset& from = lattice->offsets[static_cast<std::size_t>(s)];
        if (!from.leads) {
            continue;
        }
        Offset& to = out.steps_[static_cast<std::size_t>(s)];
        to.dx = from.dx;
        to.dy = from.dy;
        to.distance = static_cast<std::ptrdiff_t>(from.dx) +
                      static_cast<std::ptrdiff_t>(from.dy) * lattice->width;
        to.sharedSide = from.sharedSide;
        to.width = static_cast<unsigned>(lattice->width);
        to.height = static_cast<unsigned>(lattice->height);
    }
    return out;
}
