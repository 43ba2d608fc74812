#pragma once
#include "platform/CRect.h"

#include <cstdint>

// Lines wider than one pixel with round ends, written straight into a 32-bit buffer: each
// segment covers the pixels within half the width of it (a capsule), so joins come out round
// too. Rows and columns are taken half-open, so a line of width w is exactly w pixels across.
class ThickLine {
public:
    ThickLine(std::uint32_t* pixels, int strideInPixels, const CRect& clip, std::uint32_t color,
              int width);

    void Segment(CPoint a, CPoint b);

private:
    void Span(int y, double lo, double hi);

    std::uint32_t* pixels_;
    int stride_;
    CRect clip_;
    std::uint32_t color_;
    double radius_;
};
