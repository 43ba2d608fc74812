#pragma once
#include "platform/WinTypes.h"

#include <span>

class CRaster;

// Device-independent bitmaps inside metafile records.
namespace MetafileDib {

// The packed bitmap as a picture, cut to the source rectangle (x, y, cx, cy) when that lies
// inside it; `fromBottom` counts y from the bottom line, as the DIB-to-device records do.
bool Picture(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
             CRaster& out);
// The average colour, standing in for a pattern brush made of the bitmap.
bool Average(std::span<const BYTE> dib, COLORREF& colour);

} // namespace MetafileDib
