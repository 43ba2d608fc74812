#pragma once
// The edges of one or more closed outlines, and the rule that turns the edges crossing a row
// into the row's inside spans. Both polygon scanners (PolygonScanner for fills and hit tests,
// the metafile player's PolygonSpans for outlines of any size) build on it, so they decide every
// pixel alike: pixel (x, y) is the integer point (x, y); it is inside when it lies inside the
// outlines under the fill rule, with points on a left or top edge counted in and points on a
// right or bottom edge counted out.
#include "platform/CPoint.h"
#include "platform/CRect.h"

#include <cstddef>
#include <vector>

class PolygonEdgeTable {
public:
    struct Span {
        LONG x0; // first pixel inside
        LONG x1; // first pixel past the span
    };
    struct Edge {
        LONG yTop;            // first row crossed
        LONG yEnd;            // first row no longer crossed
        long long x0, dx, dy; // from (x0, yTop) along (dx, dy), dy > 0
        int winding;          // +1 going down the rows, -1 going up
        // The first pixel at or right of the edge on row y.
        LONG XAt(LONG y) const;
    };
    struct Crossing {
        LONG x;
        const Edge* edge;
    };

    PolygonEdgeTable() = default;
    // ALTERNATE or WINDING.
    explicit PolygonEdgeTable(int fillMode);

    // Adds an outline of `count` points, closed back to its first point.
    template <class Point> void AddOutline(const Point* points, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            Widen(points[i]);
            Add(points[i], points[i + 1 < count ? i + 1 : 0]);
        }
    }
    // Puts the edges in order of their first rows once all the outlines are in.
    void Finish();

    // The edges that cross a row, by first row crossed; horizontal ones cross none.
    const std::vector<Edge>& Edges() const { return edges_; }
    // Smallest rectangle holding every inside pixel (right and bottom exclusive).
    CRect Bounds() const { return bounds_; }
    bool IsEmpty() const { return edges_.empty(); }
    // The spans that one row's crossings, in order of x, enclose under the fill rule, cut to
    // the columns left..right-1; sorted, not overlapping, and touching ones joined.
    void RowSpans(const std::vector<Crossing>& ordered, LONG left, LONG right,
                  std::vector<Span>& spans) const;

private:
    void Widen(POINT p);
    void Add(POINT a, POINT b);

    std::vector<Edge> edges_;
    bool winding_ = false;
    bool any_ = false; // points were added
    CRect bounds_;
};
