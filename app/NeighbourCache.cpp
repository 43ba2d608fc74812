#include "app/NeighbourCache.h"

#include "app/TemplateKind.h"

#include <algorithm>

NeighbourCache::NeighbourCache(const CGridloomDoc& doc)
    : doc_(doc), gridCount_(std::clamp(doc.GridCount(), 0, CGridloomDoc::kMaxGrids)),
      columns_(doc.Settings().columns), rows_(doc.Settings().rows),
      wrapH_(doc.Settings().wrapHorizontally != 0), wrapV_(doc.Settings().wrapVertically != 0) {
    for (int g = 0; g < gridCount_; ++g) {
        const Object& grid = *doc.GetGrid(g);
        GridInfo& info = grids_[static_cast<std::size_t>(g)];
        info.width = grid.Width();
        info.height = grid.Height();
        info.sides = std::clamp(grid.SideCount(), 0, kMaxSide);
        info.ring = grid.GridType() == GRID_RING;
        if (grid.GridType() != GRID_POLYGON) {
            continue; // rings ask the document; other types have no neighbours
        }
        for (int s = 1; s <= kMaxSide; ++s) {
            const NeighbourRule rule = doc.FindNeighbourRule(0, 0, g, s);
            if (rule.fromGrid < 0 || rule.toGrid < 0 || rule.toGrid >= gridCount_) {
                continue;
            }
            info.steps[static_cast<std::size_t>(s)] =
                Step{rule.toGrid, rule.toSide, rule.dx, rule.dy};
        }
    }
    // A grid of another type steps nowhere: its steps stay empty and it is not a ring.
}

bool NeighbourCache::FindOnRing(int column, int row, int grid, int side, Neighbour& out) const {
    const auto found = doc_.FindNeighbour(column, row, grid, side);
    if (!found || found->grid < 0 || found->grid >= gridCount_) {
        return false;
    }
    out = *found;
    return true;
}
