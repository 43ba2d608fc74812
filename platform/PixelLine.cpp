#include "platform/PixelLine.h"

#include <algorithm>
#include <cstdlib>

PixelLine::PixelLine(std::uint32_t* pixels, int strideInPixels, const CRect& clip,
                     std::uint32_t color, std::vector<int> dashes, bool opaqueGaps,
                     std::uint32_t gapColor)
    : pixels_(pixels), stride_(strideInPixels), clip_(clip), color_(color),
      dashes_(std::move(dashes)), opaqueGaps_(opaqueGaps), gapColor_(gapColor) {
    if (!dashes_.empty())
        dashLeft_ = dashes_[0];
}

bool PixelLine::DashOn() {
    if (dashes_.empty())
        return true;
    const bool on = (dashIndex_ & 1) == 0;
    if (--dashLeft_ <= 0) {
        dashIndex_ = (dashIndex_ + 1) % static_cast<int>(dashes_.size());
        dashLeft_ = dashes_[static_cast<size_t>(dashIndex_)];
    }
    return on;
}

void PixelLine::Plot(long long x, long long y) {
    const bool on = DashOn();
    if (x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom)
        return;
    if (on || opaqueGaps_)
        pixels_[y * stride_ + x] = on ? color_ : gapColor_;
}

void PixelLine::Dot(CPoint p) {
    dashIndex_ = 0;
    dashLeft_ = dashes_.empty() ? 0 : dashes_[0];
    Plot(p.x, p.y);
}

void PixelLine::Straight(CPoint from, CPoint to) {
    const long long left = std::max<long long>(std::min(from.x, to.x), clip_.left);
    const long long right = std::min<long long>(std::max(from.x, to.x), clip_.right - 1LL);
    const long long top = std::max<long long>(std::min(from.y, to.y), clip_.top);
    const long long bottom = std::min<long long>(std::max(from.y, to.y), clip_.bottom - 1LL);
    if (left > right || top > bottom)
        return;
    if (top == bottom) {
        std::uint32_t* row = pixels_ + top * stride_;
        std::fill(row + left, row + right + 1, color_);
        return;
    }
    for (long long y = top; y <= bottom; ++y)
        pixels_[y * stride_ + left] = color_;
}

bool PixelLine::StepRange(long long start, int dir, long long lo, long long hi, long long n,
                          long long& i0, long long& i1) {
    // start + dir * i within [lo, hi]
    long long a, b;
    if (dir > 0) {
        a = lo - start;
        b = hi - start;
    } else {
        a = start - hi;
        b = start - lo;
    }
    i0 = std::max(a, 0LL);
    i1 = std::min(b + 1, n);
    return i0 < i1;
}

void PixelLine::Segment(CPoint from, CPoint to) {
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    const long long adx = std::llabs(dx), ady = std::llabs(dy);
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const long long n = xMajor ? adx : ady;
    if (n == 0)
        return;
    const long long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const long long start = xMajor ? from.x : from.y;
    const int dir = xMajor ? sx : sy;
    // Only the steps inside the clip are walked, so far-off lines cost nothing; a styled line
    // moves its pattern on over the skipped steps.
    long long i0 = 0, i1 = 0;
    const long long lo = xMajor ? clip_.left : clip_.top;
    const long long hi = (xMajor ? clip_.right : clip_.bottom) - 1;
    if (!StepRange(start, dir, lo, hi, n, i0, i1)) {
        SkipDashes(n);
        return;
    }
    SkipDashes(i0);
    // Minor offset at step i is floor((2 * i * minor + major) / (2 * major)).
    long long offset = (2 * i0 * minor + major) / (2 * major);
    long long err = (2 * i0 * minor + major) % (2 * major);
    const long long minorStart = xMajor ? from.y : from.x;
    const int minorDir = xMajor ? sy : sx;
    for (long long i = i0; i < i1; ++i) {
        const long long a = start + dir * i;
        const long long b = minorStart + minorDir * offset;
        if (xMajor)
            Plot(a, b);
        else
            Plot(b, a);
        err += 2 * minor;
        if (err >= 2 * major) {
            err -= 2 * major;
            ++offset;
        }
    }
    SkipDashes(n - i1);
}

void PixelLine::SkipDashes(long long steps) {
    if (dashes_.empty() || steps <= 0)
        return;
    long long period = 0;
    for (int d : dashes_)
        period += d;
    steps %= period;
    while (steps > 0) {
        const long long take = std::min<long long>(steps, dashLeft_);
        dashLeft_ -= static_cast<int>(take);
        steps -= take;
        if (dashLeft_ <= 0) {
            dashIndex_ = (dashIndex_ + 1) % static_cast<int>(dashes_.size());
            dashLeft_ = dashes_[static_cast<size_t>(dashIndex_)];
        }
    }
}
