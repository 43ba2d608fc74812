#include "platform/PolygonEdgeTable.h"

#include "platform/GdiConstants.h"

#include <algorithm>

PolygonEdgeTable::PolygonEdgeTable(int fillMode) : winding_(fillMode == WINDING) {}

void PolygonEdgeTable::Widen(POINT p) {
    if (!any_)
        bounds_ = CRect(p.x, p.y, p.x, p.y);
    any_ = true;
    bounds_.left = std::min(bounds_.left, p.x);
    bounds_.right = std::max(bounds_.right, p.x);
}

void PolygonEdgeTable::Finish() {
    if (edges_.empty()) {
        bounds_ = CRect();
        return;
    }
    std::sort(edges_.begin(), edges_.end(),
              [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    bounds_.top = edges_.front().yTop;
    bounds_.bottom = edges_.front().yEnd;
    for (const Edge& e : edges_)
        bounds_.bottom = std::max(bounds_.bottom, e.yEnd);
}

void PolygonEdgeTable::Add(POINT a, POINT b) {
    if (a.y == b.y)
        return; // horizontal edges cross no row
    const bool down = a.y < b.y;
    const POINT top = down ? a : b, bottom = down ? b : a;
    edges_.push_back({top.y, bottom.y, top.x, static_cast<long long>(bottom.x) - top.x,
                      static_cast<long long>(bottom.y) - top.y, down ? 1 : -1});
}

LONG PolygonEdgeTable::Edge::XAt(LONG y) const {
    // x on the edge at row y is x0 + (y - yTop) * dx / dy, rounded up.
    const long long num = x0 * dy + (static_cast<long long>(y) - yTop) * dx;
    long long q = num / dy;
    if (num % dy != 0 && num > 0)
        ++q;
    return static_cast<LONG>(q);
}

void PolygonEdgeTable::RowSpans(const std::vector<Crossing>& ordered, LONG left, LONG right,
                                std::vector<Span>& spans) const {
    spans.clear();
    int count = 0;
    for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
        count += winding_ ? ordered[i].edge->winding : 1;
        const bool inside = winding_ ? count != 0 : (count & 1) != 0;
        const LONG x0 = std::max(ordered[i].x, left), x1 = std::min(ordered[i + 1].x, right);
        if (!inside || x0 >= x1)
            continue;
        if (!spans.empty() && spans.back().x1 == x0)
            spans.back().x1 = x1;
        else
            spans.push_back({x0, x1});
    }
}
