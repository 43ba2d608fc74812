#include "image/metafile/PolygonSpans.h"

#include <algorithm>

PolygonSpans::PolygonSpans(std::span<const POINT> points, const std::vector<int>& counts,
                           int fillMode)
    : table_(fillMode) {
    std::size_t at = 0;
    for (const int count : counts) {
        if (count < 0 || std::size_t(count) > points.size() - at)
            break;
        table_.AddOutline(points.data() + at, std::size_t(count));
        at += std::size_t(count);
    }
    table_.Finish();
}

void PolygonSpans::Scan(const CRect& clip, const Row& row) const {
    CRect area;
    const std::vector<PolygonEdgeTable::Edge>& edges = table_.Edges();
    if (edges.empty() || !area.IntersectRect(table_.Bounds(), clip))
        return;
    // The crossings stay in order from row to row, so that each row only mends their order.
    std::vector<Crossing> xs;
    std::vector<Span> spans;
    std::size_t next = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        std::erase_if(xs, [y](const Crossing& c) { return c.edge->yEnd <= y; });
        for (Crossing& c : xs)
            c.x = c.edge->XAt(y);
        const std::size_t kept = xs.size();
        for (; next < edges.size() && edges[next].yTop <= y; ++next) {
            if (edges[next].yEnd > y)
                xs.push_back({edges[next].XAt(y), &edges[next]});
        }
        Order(xs, kept);
        table_.RowSpans(xs, area.left, area.right, spans);
        if (!spans.empty())
            row(y, spans);
    }
}

void PolygonSpans::Order(std::vector<Crossing>& xs, std::size_t kept) {
    auto before = [](const Crossing& a, const Crossing& b) { return a.x < b.x; };
    // Insertion sort: edges change places only where they meet, so few move far.
    for (std::size_t i = 1; i < kept; ++i) {
        const Crossing c = xs[i];
        std::size_t j = i;
        for (; j > 0 && before(c, xs[j - 1]); --j)
            xs[j] = xs[j - 1];
        xs[j] = c;
    }
    const auto middle = xs.begin() + long(kept);
    std::sort(middle, xs.end(), before);
    std::inplace_merge(xs.begin(), middle, xs.end(), before);
}

std::uint64_t PolygonSpans::Crossings(const CRect& clip) const {
    std::uint64_t n = table_.Edges().size();
    for (const PolygonEdgeTable::Edge& e : table_.Edges()) {
        const LONG top = std::max(e.yTop, clip.top), end = std::min(e.yEnd, clip.bottom);
        if (top < end)
            n += std::uint64_t(end - top);
    }
    return n;
}
