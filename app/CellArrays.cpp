#include "app/CellArrays.h"

#include "app/Object.h"

#include <algorithm>

CellArrays::CellArrays(CGridloomDoc& doc) {
    const int count = std::clamp(doc.GridCount(), 0, CGridloomDoc::kMaxGrids);
    for (int g = 0; g < count; ++g) {
        Object& grid = *doc.GetGrid(g);
        grids_[static_cast<std::size_t>(g)] = GridCells{grid.Cells().data(), grid.Width()};
    }
}
