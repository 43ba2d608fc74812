#pragma once
#include "view/PolygonCellGeometry.h"
#include "view/RingCellGeometry.h"

#include <optional>
#include <vector>

// The cell geometry of the maze on show, rebuilt only when the template kind, the grid size,
// the cell size or the ring layout changes.
class GeometryCache {
public:
    // Null for a kind without polygon grids or a cell side under one unit.
    const PolygonCellGeometry* Polygons(int kind, int cellWidth, int cellHeight);
    const RingCellGeometry& Rings(const RingLayout& layout, const std::vector<int>& counts);
    // The extent of a polygon maze of that size (cached with the geometry).
    const MazeExtent& Extent(const PolygonCellGeometry& geometry, int columns, int rows);
    void ForgetRings() { rings_.reset(); }
    const RingCellGeometry* CurrentRings() const { return rings_ ? &*rings_ : nullptr; }

    static std::vector<std::vector<CornerFraction>> ShapesOf(int kind);

private:
    struct PolygonKey {
        int kind, width, height;
        friend bool operator==(const PolygonKey&, const PolygonKey&) = default;
    };
    struct ExtentKey {
        int columns, rows;
        friend bool operator==(const ExtentKey&, const ExtentKey&) = default;
    };

    std::optional<PolygonKey> polygonKey_;
    std::optional<PolygonCellGeometry> polygons_;
    std::optional<ExtentKey> extentKey_;
    MazeExtent extent_;
    std::optional<RingCellGeometry> rings_;
};
