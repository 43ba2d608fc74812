#include "view/PolygonCellGeometry.h"

#include <algorithm>

PolygonCellGeometry::PolygonCellGeometry(const std::vector<std::vector<CornerFraction>>& shapes,
                                         int cellWidth, int cellHeight)
    : cellWidth_(cellWidth), cellHeight_(cellHeight) {
    for (const auto& shape : shapes) {
        std::vector<CPoint> corners;
        for (const auto& f : shape)
            corners.emplace_back(static_cast<LONG>(cellWidth * f.x),
                                 static_cast<LONG>(cellHeight * f.y));
        offsets_.push_back(std::move(corners));
    }
}

CPoint PolygonCellGeometry::Corner(int column, int row, int grid, int m) const {
    const auto& offsets = Offsets(grid);
    const auto n = offsets.size();
    return Origin(column, row) + offsets[static_cast<std::size_t>(m) % n];
}

void PolygonCellGeometry::Outline(int column, int row, int grid, std::vector<CPoint>& out) const {
    const std::vector<CPoint>& offsets = Offsets(grid);
    if (offsets.empty()) {
        out.clear();
        return;
    }
    // Sized once and written in place: the wall pass asks for every cell's outline.
    out.resize(offsets.size() + 1);
    const CPoint origin = Origin(column, row);
    CPoint* corner = out.data();
    for (std::size_t i = 0; i < offsets.size(); ++i)
        corner[i] = origin + offsets[i];
    corner[offsets.size()] = corner[0];
}

void PolygonCellGeometry::Centre(int column, int row, int grid, double& x, double& y) const {
    const auto& offsets = Offsets(grid);
    const CPoint origin = Origin(column, row);
    double sx = 0, sy = 0;
    for (const CPoint& o : offsets) {
        sx += origin.x + o.x;
        sy += origin.y + o.y;
    }
    const double n = offsets.empty() ? 1.0 : static_cast<double>(offsets.size());
    x = sx / n;
    y = sy / n;
}

MazeExtent PolygonCellGeometry::Extent(int columns, int rows) const {
    MazeExtent e;
    bool first = true;
    if (columns <= 0 || rows <= 0)
        return e;
    // Every grid's cells are the same polygon moved by whole cells, so the first and the last
    // column and row bound the whole grid. y is counted downward here.
    for (int g = 0; g < Grids(); ++g) {
        if (Offsets(g).empty())
            continue;
        for (const int column : {0, columns - 1}) {
            for (const int row : {0, rows - 1}) {
                const CPoint origin = Origin(column, row);
                for (const CPoint& o : Offsets(g)) {
                    const int x = origin.x + o.x;
                    const int y = -(origin.y + o.y);
                    if (first) {
                        e.maxX = e.minX = x;
                        e.maxY = e.minY = y;
                    }
                    e.maxX = std::max(e.maxX, x);
                    e.minX = std::min(e.minX, x);
                    e.maxY = std::max(e.maxY, y);
                    e.minY = std::min(e.minY, y);
                    double cx = 0, cy = 0;
                    Centre(column, row, g, cx, cy);
                    cy = -cy;
                    if (first) {
                        e.centreMaxX = e.centreMinX = cx;
                        e.centreMaxY = e.centreMinY = cy;
                        first = false;
                    }
                    e.centreMaxX = std::max(e.centreMaxX, cx);
                    e.centreMinX = std::min(e.centreMinX, cx);
                    e.centreMaxY = std::max(e.centreMaxY, cy);
                    e.centreMinY = std::min(e.centreMinY, cy);
                }
            }
        }
    }
    return e;
}
