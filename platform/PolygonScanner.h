#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"

#include <vector>

// The one routine that decides which pixels a polygon covers. Pixel (x, y) is the integer
// point (x, y); it is inside when it lies inside the outline under the fill rule, with points on
// a left or top edge counted in and points on a right or bottom edge counted out. Polygon fills,
// region fills and region hit tests all ask this class, so they agree pixel for pixel.
class PolygonScanner {
public:
    struct Span {
        LONG x0; // first pixel inside
        LONG x1; // first pixel past the span
    };

    PolygonScanner() = default;
    PolygonScanner(const std::vector<CPoint>& points, int fillMode);

    // Spans of row y, sorted and not overlapping; empty when the row misses the polygon.
    void Row(LONG y, std::vector<Span>& spans) const;
    bool Contains(CPoint p) const;
    // Smallest rectangle holding every inside pixel (right and bottom exclusive).
    CRect Bounds() const { return bounds_; }
    bool IsEmpty() const { return edges_.empty(); }

private:
    struct Edge {
        LONG yTop;                // first row crossed
        LONG yEnd;                // first row no longer crossed
        long long x0, y0, dx, dy; // the edge from (x0, y0) along (dx, dy), dy > 0
        int winding;
    };
    struct Crossing {
        LONG x;
        int winding;
    };

    static LONG CeilDiv(long long num, long long den);
    LONG FirstPixelAt(const Edge& e, LONG y) const;

    std::vector<Edge> edges_;
    bool winding_ = false;
    CRect bounds_;
};
