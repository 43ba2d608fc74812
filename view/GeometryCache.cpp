#include "view/GeometryCache.h"

#include "maze/TemplateKind.h"
#include "maze/TemplateTables.h"

std::vector<std::vector<CornerFraction>> GeometryCache::ShapesOf(int kind) {
    std::vector<std::vector<CornerFraction>> shapes;
    const TemplateInfo* info = TemplateTables::Find(kind);
    if (!info || info->gridType != GRID_POLYGON)
        return shapes;
    for (const auto& rows : info->shapes) {
        std::vector<CornerFraction> corners;
        // The rows end with a repeat of the first corner.
        for (std::size_t i = 0; i + 1 < rows.size(); ++i)
            corners.push_back({rows[i].x, rows[i].y});
        shapes.push_back(std::move(corners));
    }
    return shapes;
}

const PolygonCellGeometry* GeometryCache::Polygons(int kind, int cellWidth, int cellHeight) {
    if (cellWidth < 1 || cellHeight > -1)
        return nullptr;
    const PolygonKey key{kind, cellWidth, cellHeight};
    if (polygonKey_ != key) {
        polygons_.reset();
        auto shapes = ShapesOf(kind);
        if (!shapes.empty())
            polygons_.emplace(shapes, cellWidth, cellHeight);
        polygonKey_ = key;
        extentKey_.reset();
    }
    return polygons_ ? &*polygons_ : nullptr;
}

const MazeExtent& GeometryCache::Extent(const PolygonCellGeometry& geometry, int columns,
                                        int rows) {
    const ExtentKey key{columns, rows};
    if (extentKey_ != key) {
        extent_ = geometry.Extent(columns, rows);
        extentKey_ = key;
    }
    return extent_;
}

const RingCellGeometry& GeometryCache::Rings(const RingLayout& layout,
                                             const std::vector<int>& counts) {
    if (!rings_ || !(rings_->Layout() == layout) || rings_->Counts() != counts)
        rings_.emplace(layout, counts);
    return *rings_;
}
