#pragma once
#include "platform/CPoint.h"

#include <algorithm>
#include <cmath>

// The points a drag visits between the last drag point and the pointer: as many steps as
// the longer axis has pixels, both ends included, each nudged by 0.2 before truncation. The
// start is the previous move's end, so it is visited again.
class DragLine {
public:
    template <typename Visit>
    static void ForEachPoint(double lastX, double lastY, int x, int y, Visit&& visit) {
        const double dx = x - lastX, dy = y - lastY;
        const long n = static_cast<long>(std::max(std::fabs(dx), std::fabs(dy)));
        for (long i = 0; i <= n; ++i) {
            const double t = n == 0 ? 0.0 : static_cast<double>(i) / static_cast<double>(n);
            visit(CPoint(static_cast<LONG>(std::trunc(lastX + dx * t + 0.2)),
                         static_cast<LONG>(std::trunc(lastY + dy * t + 0.2))));
        }
    }
};
