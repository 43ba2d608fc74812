#pragma once
#include "platform/CPoint.h"

#include <cstddef>
#include <vector>

// Reduces a stroke to a fixed number of points by merging, again and again, the closest pair
// of neighbours into its midpoint. Of equally close pairs the earlier goes first, and the
// pair that ends at the stroke's last point is never merged, so the stroke keeps its end.
class StrokeResampler {
public:
    // `points` must hold at least `count` points, and `count` must be at least 2.
    static std::vector<CPoint> Reduce(const std::vector<CPoint>& points, std::size_t count);

    // The distance the merge rule compares.
    static double Distance(const CPoint& a, const CPoint& b);
    // The merged point: each coordinate the mean, truncated toward zero.
    static CPoint Midpoint(const CPoint& a, const CPoint& b);
};
