#include "platform/PolylineBatch.h"

#include <algorithm>

void PolylineBatch::AddRun(const CPoint* points, int count) {
    if (!points || count < 2)
        return; // too short for Polyline or Polygon to draw
    points_.insert(points_.end(), points, points + count);
    counts_.push_back(count);
    longest_ = std::max(longest_, count);
}

void PolylineBatch::Clear() {
    points_.clear();
    counts_.clear();
    longest_ = 0;
}
