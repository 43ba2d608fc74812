#pragma once
#include "platform/CPoint.h"

#include <vector>

class CDC;
class PolygonCellGeometry;

// The device pixels of every cell corner of the polygon grids. A corner's x depends only on
// its column and y only on its row, and the mapping treats the two apart, so each is mapped
// once per column or row and shared by every cell that has the corner.
class DeviceCornerTable {
public:
    DeviceCornerTable(const CDC& dc, const PolygonCellGeometry& geometry, int columns, int rows);

    // Corner m (0..n, corner n repeating corner 0) of the cell, as the geometry lists it.
    CPoint At(int column, int row, int grid, int m) const {
        const Grid& g = grids_[static_cast<std::size_t>(grid)];
        const std::size_t corner = g.firstCorner + static_cast<std::size_t>(m % g.corners);
        return {xs_[corner * columnCount_ + static_cast<std::size_t>(column)],
                ys_[corner * rowCount_ + static_cast<std::size_t>(row)]};
    }

private:
    struct Grid {
        std::size_t firstCorner = 0; // counted over the grids before
        int corners = 1;
    };

    std::size_t columnCount_;
    std::size_t rowCount_;
    std::vector<Grid> grids_;
    std::vector<LONG> xs_; // by corner, then column
    std::vector<LONG> ys_; // by corner, then row
};
