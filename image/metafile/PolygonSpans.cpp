#include "image/metafile/PolygonSpans.h"

#include "platform/GdiConstants.h"

#include <algorithm>

PolygonSpans::PolygonSpans(std::span<const POINT> points, const std::vector<int>& counts,
                           int fillMode)
    : winding_(fillMode == WINDING) {
    std::size_t at = 0;
    bool any = false;
    for (int count : counts) {
        if (count < 0 || std::size_t(count) > points.size() - at)
            break;
        const std::size_t end = at + std::size_t(count);
        for (std::size_t i = at; i < end; ++i) {
            const POINT p = points[i];
            if (!any)
                bounds_ = CRect(p.x, p.y, p.x, p.y);
            any = true;
            bounds_.left = std::min(bounds_.left, p.x);
            bounds_.right = std::max(bounds_.right, p.x);
            Add(p, points[i + 1 < end ? i + 1 : at]);
        }
        at = end;
    }
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

void PolygonSpans::Add(POINT a, POINT b) {
    if (a.y == b.y)
        return; // horizontal edges cross no row
    const bool down = a.y < b.y;
    const POINT top = down ? a : b, bottom = down ? b : a;
    edges_.push_back({top.y, bottom.y, top.x, bottom.x - top.x, bottom.y - top.y, down ? 1 : -1});
}

// The first pixel at or right of the edge on row y.
LONG PolygonSpans::Edge::XAt(LONG y) const {
    const long long num = static_cast<long long>(x0) * dy + (static_cast<long long>(y) - yTop) * dx;
    long long q = num / dy;
    if (num % dy != 0 && num > 0)
        ++q;
    return static_cast<LONG>(q);
}

void PolygonSpans::Scan(const CRect& clip, const Row& row) const {
    CRect area;
    if (edges_.empty() || !area.IntersectRect(bounds_, clip))
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
        for (; next < edges_.size() && edges_[next].yTop <= y; ++next) {
            if (edges_[next].yEnd > y)
                xs.push_back({edges_[next].XAt(y), &edges_[next]});
        }
        Order(xs, kept);
        RowSpans(xs, area, spans);
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

void PolygonSpans::RowSpans(const std::vector<Crossing>& xs, const CRect& clip,
                            std::vector<Span>& spans) const {
    spans.clear();
    int count = 0;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        count += winding_ ? xs[i].edge->winding : 1;
        const bool inside = winding_ ? count != 0 : (count & 1) != 0;
        const LONG x0 = std::max(xs[i].x, clip.left), x1 = std::min(xs[i + 1].x, clip.right);
        if (!inside || x0 >= x1)
            continue;
        if (!spans.empty() && spans.back().x1 == x0)
            spans.back().x1 = x1;
        else
            spans.push_back({x0, x1});
    }
}

std::uint64_t PolygonSpans::Crossings(const CRect& clip) const {
    std::uint64_t n = edges_.size();
    for (const Edge& e : edges_) {
        const LONG top = std::max(e.yTop, clip.top), end = std::min(e.yEnd, clip.bottom);
        if (top < end)
            n += std::uint64_t(end - top);
    }
    return n;
}
