// The drawing calls every back end shares unless it has a quicker way of its own.
#include "platform/IDcBackEnd.h"

#include <cstddef>

void IDcBackEnd::StrokeRuns(const std::vector<CPoint>& points, const std::vector<int>& counts,
                            bool closed, const DevicePen& pen, const DeviceBrush& brush,
                            int fillMode, const Background& bk) {
    std::vector<CPoint> run;
    std::size_t from = 0;
    for (const int n : counts) {
        const auto first = points.begin() + static_cast<std::ptrdiff_t>(from);
        run.assign(first, first + n);
        from += static_cast<std::size_t>(n);
        if (closed)
            FillPolygon(run, fillMode, brush, bk);
        Stroke(run, closed, pen, bk);
    }
}
