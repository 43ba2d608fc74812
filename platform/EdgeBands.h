#pragma once
#include "platform/CRect.h"

#include <vector>

// The one-pixel bands of a three-dimensional edge (EDGE_* and BF_* flags) drawn around a
// rectangle in the desktop's button colours, outer band first; `inside` is what they leave.
struct EdgeBand {
    CRect rect;
    COLORREF color;
};
std::vector<EdgeBand> EdgeBands(const CRect& rect, UINT edge, UINT flags, CRect& inside);
