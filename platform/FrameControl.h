#pragma once
#include "platform/EdgeBands.h"

// The filled rectangles, in drawing order, of a classic frame control (DFC_BUTTON with
// DFCS_BUTTONPUSH, DFC_SCROLL with DFCS_SCROLLDOWN; DFCS_PUSHED and DFCS_INACTIVE) in the
// desktop's button colours; `inside` is the area within the frame. Other kinds give nothing.
std::vector<EdgeBand> FrameControlBands(const CRect& rect, UINT type, UINT state, CRect& inside);
