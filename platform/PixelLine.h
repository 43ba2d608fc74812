#pragma once
#include "platform/CRect.h"

#include <cstdint>
#include <vector>

// One-pixel lines written straight into a 32-bit buffer, as the midpoint rule steps them; the
// last pixel of each segment is left out, as line drawing does. Styled lines continue their
// dash pattern from one segment to the next.
class PixelLine {
public:
    PixelLine(std::uint32_t* pixels, int strideInPixels, const CRect& clip, std::uint32_t color,
              std::vector<int> dashes, bool opaqueGaps, std::uint32_t gapColor);

    void Segment(CPoint from, CPoint to);
    void Dot(CPoint p);
    // A horizontal or vertical line of a solid pen with both ends drawn: what a segment there
    // and back draws, at a fraction of the cost.
    void Straight(CPoint from, CPoint to);
    bool IsSolid() const { return dashes_.empty(); }

private:
    void Plot(long long x, long long y);
    bool DashOn();
    void SkipDashes(long long steps);
    // The range of steps i in [0, n) whose major coordinate lies within [lo, hi].
    static bool StepRange(long long start, int dir, long long lo, long long hi, long long n,
                          long long& i0, long long& i1);

    std::uint32_t* pixels_;
    int stride_;
    CRect clip_;
    std::uint32_t color_;
    std::vector<int> dashes_;
    bool opaqueGaps_;
    std::uint32_t gapColor_;
    int dashIndex_ = 0;
    int dashLeft_ = 0;
};
