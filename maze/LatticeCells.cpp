#include "maze/LatticeCells.h"

#include "maze/Object.h"

std::optional<LatticeCells> LatticeCells::Of(const NeighbourCache& neighbours, MazeGrids& grids) {
    const int count = neighbours.GridCount();
    if (!neighbours.IsPlainLattice() || count != grids.GridCount() || count == 0) {
        return std::nullopt;
    }
    LatticeCells out;
    const int width = grids.GetGrid(0)->Width();
    out.width_ = static_cast<std::size_t>(width);
    for (int g = 0; g < count; ++g) {
        Object& grid = *grids.GetGrid(g);
        if (grid.Width() != width) {
            return std::nullopt; // a step would have to divide by the other width
        }
        const auto i = static_cast<std::size_t>(g);
        out.cells_[i] = grid.Cells().data();
        out.sides_[i] = neighbours.SideCount(g);
        for (int s = 1; s <= out.sides_[i]; ++s) {
            const NeighbourCache::Step& from = neighbours.StepOf(g, s);
            if (from.toGrid < 0) {
                continue;
            }
            out.steps_[i][static_cast<std::size_t>(s)] =
                Offset{from.dx,
                       from.dy,
                       from.toGrid,
                       from.toSide,
                       static_cast<unsigned>(from.toWidth),
                       static_cast<unsigned>(from.toHeight),
                       static_cast<std::ptrdiff_t>(from.dx) +
                           static_cast<std::ptrdiff_t>(from.dy) * width};
        }
    }
    return out;
}
