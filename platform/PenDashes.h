#pragma once
#include <vector>

// On and off run lengths, in pixels, of the styled one-pixel pens; empty for solid lines.
std::vector<int> PenDashes(int penStyle);
