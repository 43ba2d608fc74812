#pragma once
#include "platform/WinTypes.h"

#include <span>
#include <vector>

#include "image/MetafileCanvas.h"

class CRaster;

// Device-independent bitmaps inside metafile records.
namespace MetafileDib {

// The packed bitmap as a picture, cut to the source rectangle (x, y, cx, cy) when that lies
// inside it; `fromBottom` counts y from the bottom line, as the DIB-to-device records do.
bool Picture(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
             CRaster& out);
// A 32-bit packed bitmap's first three bytes as its colours, as they are, and its fourth as
// a grey picture of its opacity, both cut as Picture cuts; false for other depths.
bool SplitOpacity(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
                  CRaster& colour, CRaster& opacity);
// A device-dependent bitmap of a Windows metafile (type, width, height, bytes per row,
// planes, bits per pixel, then rows from the top) as a packed bitmap: one bit per pixel
// in the two colours given, or 24 or 32 bits; empty when it is anything else or cut short.
std::vector<BYTE> FromBitmap16(std::span<const BYTE> bitmap, COLORREF zero, COLORREF one);
// A pattern brush made of the bitmap: its pattern, and its average colour as the solid colour
// that stands in where a pattern cannot be drawn.
void Pattern(std::span<const BYTE> dib, MetafileCanvas::Object& brush);

} // namespace MetafileDib
