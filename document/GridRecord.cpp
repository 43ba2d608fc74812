#include "document/GridRecord.h"

#include "maze/Object.h"
#include "maze/TemplateKind.h"

#include <algorithm>

bool GridRecord::IsLoadableSize(std::int64_t width, std::int64_t height) {
    return Object::IsAllowedSize(width, height) && width <= Object::kMaxCells &&
           height <= Object::kMaxCells;
}

GridRecord GridRecord::FromObject(const Object& grid) {
    GridRecord r;
    r.initialFlags = grid.initialFlags;
    r.name = grid.name;
    r.sideCount = grid.SideCount();
    r.gridType = grid.GridType();
    r.width = grid.Width();
    r.height = grid.Height();
    r.innerRadius = grid.innerRadius;
    r.ring0Count = grid.ring0Count;
    r.cells.assign(grid.Cells().begin(), grid.Cells().end());
    return r;
}

void GridRecord::ApplyTo(Object& grid) const {
    grid.initialFlags = initialFlags;
    grid.name = name;
    grid.SetGridType(gridType);
    grid.innerRadius = innerRadius;
    grid.ring0Count = ring0Count;
    grid.AllocateCells(width, height);
    std::copy(cells.begin(), cells.end(), grid.Cells().begin());
}

void GridRecord::Store(CArchive& ar) const {
    ar << kRecordVersion << std::int32_t(initialFlags) << name << std::int32_t(sideCount)
       << std::int32_t(gridType) << std::int32_t(width) << std::int32_t(height)
       << std::int32_t(kSubVersion) << innerRadius << std::int32_t(ring0Count);
    for (int i = 0; i < 3; ++i)
        ar << std::int32_t(0);
    for (const MazeCell& c : cells)
        ar << c.flags << c.passages;
}

void GridRecord::Load(CArchive& ar) {
    double version = 0;
    std::int32_t flags = 0, sides = 0, type = 0, w = 0, h = 0, sub = 0;
    ar >> version >> flags >> name >> sides >> type >> w >> h >> sub;
    initialFlags = flags;
    sideCount = sides;
    gridType = type == 0 ? GRID_POLYGON : type;
    if (sub == kSubVersion)
        ar >> innerRadius >> ring0Count;
    std::int32_t unused = 0;
    for (int i = 0; i < 3; ++i)
        ar >> unused;
    if (ar.Failed())
        return;
    if (!IsLoadableSize(w, h)) {
        ar.Fail("A grid is larger than the program allows");
        return;
    }
    const std::uint64_t count = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
    if (!ar.CanRead(count, 4)) {
        ar.Fail("A grid holds more cells than the file");
        return;
    }
    width = w;
    height = h;
    cells.resize(count);
    for (MazeCell& c : cells)
        ar >> c.flags >> c.passages;
}
