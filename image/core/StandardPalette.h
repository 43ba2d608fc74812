#pragma once
// The standard palettes of the palette depths: 2 entries at 1 bpp, the 16 VGA colours at 4 bpp
// and a 256-entry palette of system colours, hue ramps and greys at 8 bpp.
#include "image/core/RgbQuad.h"

#include <vector>

// Entries for 1, 4 or 8 bits per pixel; empty for any other depth.
std::vector<RGBQUAD> StandardPalette(unsigned bpp);
