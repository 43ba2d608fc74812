#include "platform/PolygonScanner.h"

#include <algorithm>
#include <cstdint>

PolygonScanner::PolygonScanner(const std::vector<CPoint>& points, int fillMode) : table_(fillMode) {
    // Fewer than three points enclose nothing.
    if (points.size() >= 3)
        table_.AddOutline(points.data(), points.size());
    table_.Finish();
}

void PolygonScanner::Row(LONG y, std::vector<Span>& spans) const {
    spans.clear();
    const CRect bounds = table_.Bounds();
    if (y < bounds.top || y >= bounds.bottom)
        return;
    std::vector<PolygonEdgeTable::Crossing> xs;
    for (const PolygonEdgeTable::Edge& e : table_.Edges()) {
        if (e.yTop > y)
            break; // the rest start further down
        if (y < e.yEnd)
            xs.push_back({e.XAt(y), &e});
    }
    std::sort(xs.begin(), xs.end(),
              [](const PolygonEdgeTable::Crossing& a, const PolygonEdgeTable::Crossing& b) {
                  return a.x < b.x;
              });
    table_.RowSpans(xs, INT32_MIN, INT32_MAX, spans);
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
