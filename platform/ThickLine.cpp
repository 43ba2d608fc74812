#include "platform/ThickLine.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

// Narrows [lo, hi) to the x where lower <= k * x + c < upper.
void Constrain(double k, double c, double lower, double upper, double& lo, double& hi) {
    if (k == 0) {
        if (c < lower || c >= upper) {
            lo = kNone;
            hi = -kNone;
        }
        return;
    }
    double a = (lower - c) / k, b = (upper - c) / k;
    if (a > b)
        std::swap(a, b);
    lo = std::max(lo, a);
    hi = std::min(hi, b);
}

} // namespace

ThickLine::ThickLine(std::uint32_t* pixels, int strideInPixels, const CRect& clip,
                     std::uint32_t color, int width)
    : pixels_(pixels), stride_(strideInPixels), clip_(clip), color_(color), radius_(width / 2.0) {}

void ThickLine::Span(int y, double lo, double hi) {
    if (!(lo < hi))
        return;
    const double first = std::ceil(lo), past = std::ceil(hi);
    const int x0 = static_cast<int>(std::max<double>(first, clip_.left));
    const int x1 = static_cast<int>(std::min<double>(past, clip_.right));
    if (x0 < x1)
        std::fill(pixels_ + static_cast<std::ptrdiff_t>(y) * stride_ + x0,
                  pixels_ + static_cast<std::ptrdiff_t>(y) * stride_ + x1, color_);
}

void ThickLine::Segment(CPoint a, CPoint b) {
    const double r = radius_;
    const double ax = a.x, ay = a.y, dx = static_cast<double>(b.x) - a.x,
                 dy = static_cast<double>(b.y) - a.y;
    const double len2 = dx * dx + dy * dy, len = std::sqrt(len2);
    const int top =
        std::max<int>(clip_.top, static_cast<int>(std::floor(std::min(ay, ay + dy) - r)));
    const int bottom =
        std::min<int>(clip_.bottom - 1, static_cast<int>(std::ceil(std::max(ay, ay + dy) + r)));
    for (int y = top; y <= bottom; ++y) {
        double lo = kNone, hi = -kNone;
        // The two round ends.
        for (const CPoint& c : {a, b}) {
            const double h = r * r - (y - c.y) * static_cast<double>(y - c.y);
            if (h > 0) {
                const double s = std::sqrt(h);
                lo = std::min(lo, c.x - s);
                hi = std::max(hi, c.x + s);
            }
        }
        // The band along the segment.
        if (len2 > 0) {
            double blo = -kNone, bhi = kNone;
            const double ry = y - ay;
            // Across: -r*len <= (x - ax) * dy - ry * dx < r*len
            Constrain(dy, -ax * dy - ry * dx, -r * len, r * len, blo, bhi);
            // Along: 0 <= (x - ax) * dx + ry * dy <= len2
            Constrain(dx, -ax * dx + ry * dy, 0, len2 + 1e-9, blo, bhi);
            if (blo < bhi) {
                lo = std::min(lo, blo);
                hi = std::max(hi, bhi);
            }
        }
        Span(y, lo, hi);
    }
}
