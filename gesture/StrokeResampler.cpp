#include "gesture/StrokeResampler.h"

#include <cmath>
#include <cstdint>
#include <queue>

namespace {

// A pair of neighbours, named by its first point's place in the original stroke; since points
// never change order, that place also orders the pairs along the stroke.
struct Candidate {
    double distance;
    std::size_t first;
    std::uint32_t version;
};

struct CloserLast {
    bool operator()(const Candidate& a, const Candidate& b) const {
        if (a.distance != b.distance)
            return a.distance > b.distance;
        return a.first > b.first;
    }
};

} // namespace

double StrokeResampler::Distance(const CPoint& a, const CPoint& b) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

CPoint StrokeResampler::Midpoint(const CPoint& a, const CPoint& b) {
    const auto x = (static_cast<std::int64_t>(a.x) + b.x) / 2;
    const auto y = (static_cast<std::int64_t>(a.y) + b.y) / 2;
    return CPoint(static_cast<LONG>(x), static_cast<LONG>(y));
}

std::vector<CPoint> StrokeResampler::Reduce(const std::vector<CPoint>& points, std::size_t count) {
    const std::size_t n = points.size();
    if (n <= count || count < 2)
        return points;

    // The stroke as a linked list, so a merge costs a constant number of updates, and the
    // candidate pairs in a heap whose stale entries are skipped by their version.
    constexpr std::size_t kNone = SIZE_MAX;
    std::vector<CPoint> at = points;
    std::vector<std::size_t> prev(n), next(n);
    std::vector<std::uint32_t> version(n, 0);
    std::vector<bool> alive(n, true);
    for (std::size_t i = 0; i < n; ++i) {
        prev[i] = i == 0 ? kNone : i - 1;
        next[i] = i + 1 == n ? kNone : i + 1;
    }
    const std::size_t last = n - 1;
    std::vector<Candidate> initial;
    initial.reserve(3 * n);
    for (std::size_t i = 0; i + 2 < n; ++i)
        initial.push_back({Distance(at[i], at[i + 1]), i, 0});
    std::priority_queue<Candidate, std::vector<Candidate>, CloserLast> heap(CloserLast{},
                                                                            std::move(initial));
    auto offer = [&](std::size_t first) {
        ++version[first];
        if (next[first] != last)
            heap.push({Distance(at[first], at[next[first]]), first, version[first]});
    };

    for (std::size_t left = n; left > count;) {
        const Candidate c = heap.top();
        heap.pop();
        if (!alive[c.first] || c.version != version[c.first] || next[c.first] == last)
            continue;
        const std::size_t a = c.first, b = next[a], p = prev[a];
        at[b] = Midpoint(at[a], at[b]);
        alive[a] = false;
        prev[b] = p;
        if (p != kNone) {
            next[p] = b;
            offer(p);
        }
        offer(b);
        --left;
    }

    std::vector<CPoint> out;
    out.reserve(count);
    for (std::size_t i = 0; i < n; ++i)
        if (alive[i])
            out.push_back(at[i]);
    return out;
}
