#include "view/DeviceCornerTable.h"

#include "platform/CDC.h"
#include "view/PolygonCellGeometry.h"

#include <algorithm>

DeviceCornerTable::DeviceCornerTable(const CDC& dc, const PolygonCellGeometry& geometry,
                                     int columns, int rows)
    : columnCount_(static_cast<std::size_t>(std::max(columns, 0))),
      rowCount_(static_cast<std::size_t>(std::max(rows, 0))) {
    std::size_t corners = 0;
    for (int g = 0; g < geometry.Grids(); ++g) {
        const int n = std::max(geometry.Sides(g), 1);
        grids_.push_back({corners, n});
        corners += static_cast<std::size_t>(n);
    }
    xs_.reserve(corners * columnCount_);
    ys_.reserve(corners * rowCount_);
    for (int g = 0; g < geometry.Grids(); ++g) {
        for (int m = 0; m < grids_[static_cast<std::size_t>(g)].corners; ++m) {
            if (geometry.Sides(g) == 0) { // no corners: nothing will ask
                xs_.resize(xs_.size() + columnCount_);
                ys_.resize(ys_.size() + rowCount_);
                continue;
            }
            for (int c = 0; c < columns; ++c)
                xs_.push_back(dc.DeviceOf(geometry.Corner(c, 0, g, m).x, 0).x);
            for (int r = 0; r < rows; ++r)
                ys_.push_back(dc.DeviceOf(0, geometry.Corner(0, r, g, m).y).y);
        }
    }
}
