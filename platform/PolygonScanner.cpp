#include "platform/PolygonScanner.h"

#include "platform/GdiConstants.h"

#include <algorithm>

PolygonScanner::PolygonScanner(const std::vector<CPoint>& points, int fillMode)
    : winding_(fillMode == WINDING) {
    const size_t n = points.size();
    if (n < 3)
        return;
    LONG minX = points[0].x, maxX = points[0].x;
    for (size_t i = 0; i < n; ++i) {
        const CPoint a = points[i];
        const CPoint b = points[(i + 1) % n];
        minX = std::min(minX, a.x);
        maxX = std::max(maxX, a.x);
        if (a.y == b.y)
            continue; // horizontal edges cross no row
        const bool down = a.y < b.y;
        const CPoint top = down ? a : b;
        const CPoint bottom = down ? b : a;
        edges_.push_back({top.y, bottom.y, top.x, top.y, static_cast<long long>(bottom.x) - top.x,
                          static_cast<long long>(bottom.y) - top.y, down ? 1 : -1});
    }
    if (edges_.empty())
        return;
    LONG minY = edges_[0].yTop, maxY = edges_[0].yEnd;
    for (const Edge& e : edges_) {
        minY = std::min(minY, e.yTop);
        maxY = std::max(maxY, e.yEnd);
    }
    bounds_ = CRect(minX, minY, maxX, maxY);
}

LONG PolygonScanner::CeilDiv(long long num, long long den) {
    // den > 0
    long long q = num / den;
    if (num % den != 0 && num > 0)
        ++q;
    return static_cast<LONG>(q);
}

LONG PolygonScanner::FirstPixelAt(const Edge& e, LONG y) const {
    // x on the edge at row y is x0 + (y - y0) * dx / dy; the first pixel at or right of it.
    return CeilDiv(e.x0 * e.dy + (static_cast<long long>(y) - e.y0) * e.dx, e.dy);
}

void PolygonScanner::Row(LONG y, std::vector<Span>& spans) const {
    spans.clear();
    if (y < bounds_.top || y >= bounds_.bottom)
        return;
    std::vector<Crossing> xs;
    for (const Edge& e : edges_) {
        if (y >= e.yTop && y < e.yEnd)
            xs.push_back({FirstPixelAt(e, y), e.winding});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int count = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        count += winding_ ? xs[i].winding : 1;
        const bool inside = winding_ ? count != 0 : (count & 1) != 0;
        if (!inside || xs[i].x >= xs[i + 1].x)
            continue;
        if (!spans.empty() && spans.back().x1 == xs[i].x)
            spans.back().x1 = xs[i + 1].x;
        else
            spans.push_back({xs[i].x, xs[i + 1].x});
    }
}

bool PolygonScanner::Contains(CPoint p) const {
    std::vector<Span> spans;
    Row(p.y, spans);
    for (const Span& s : spans) {
        if (p.x >= s.x0 && p.x < s.x1)
            return true;
    }
    return false;
}
