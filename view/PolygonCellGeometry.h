#pragma once
#include "platform/CPoint.h"

#include <vector>

// A corner of a cell polygon across and down the cell, in cell widths and heights.
struct CornerFraction {
    double x = 0;
    double y = 0;
};

// The maze's extent in logical units with y counted downward from the top of the page, and
// the range of the cells' centres (the mean of each cell's corners).
struct MazeExtent {
    int maxX = 0;
    int maxY = 0;
    int minX = 0;
    int minY = 0;
    double centreMaxX = 0;
    double centreMaxY = 0;
    double centreMinX = 0;
    double centreMinY = 0;
};

// The integer corners of the cells of polygon templates for one cell size. Corner m of the
// cell (column, row) is (column x w + trunc(w x fx), row x h + trunc(h x fy)) with h negative
// (y up): the offsets depend only on the grid, so they are computed once here.
class PolygonCellGeometry {
public:
    // `shapes[g]` holds the corners of grid g's polygon in drawing order, without the closing
    // repeat of the first corner.
    PolygonCellGeometry(const std::vector<std::vector<CornerFraction>>& shapes, int cellWidth,
                        int cellHeight);

    int Grids() const { return static_cast<int>(offsets_.size()); }
    int Sides(int grid) const { return static_cast<int>(Offsets(grid).size()); }
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }

    // Corner m (0..n, corner n repeats corner 0).
    CPoint Corner(int column, int row, int grid, int m) const;
    // The n + 1 corners, the last repeating the first.
    void Outline(int column, int row, int grid, std::vector<CPoint>& out) const;
    // The mean of the n corners.
    void Centre(int column, int row, int grid, double& x, double& y) const;
    MazeExtent Extent(int columns, int rows) const;

    // Corner m of a cell is its origin plus offset m of its grid: the form for code that visits
    // every cell and would rather not build each outline.
    const std::vector<CPoint>& Offsets(int grid) const {
        return offsets_[static_cast<std::size_t>(grid)];
    }
    CPoint Origin(int column, int row) const { return {column * cellWidth_, row * cellHeight_}; }

private:
    int cellWidth_;
    int cellHeight_;
    std::vector<std::vector<CPoint>> offsets_;
};
