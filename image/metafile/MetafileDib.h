#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <vector>

#include "image/metafile/MetafileCanvas.h"

class CRaster;

// Device-independent bitmaps inside metafile records.
namespace MetafileDib {

// What a packed bitmap's header says, before anything is decoded.
struct Header {
    std::int64_t width = 0, height = 0; // height negative from the top
    unsigned bits = 0;
    DWORD compression = 0;
    std::uint64_t palette = 0; // offset of the colour table
    std::uint64_t colours = 0; // entries in it
    unsigned entryBytes = 4;
    std::uint64_t pixels = 0; // offset of the bits
};
// False when the header is cut short or not one of the known sizes.
bool ReadHeader(std::span<const BYTE> dib, Header& header);

// The packed bitmap as a picture, cut to the source rectangle (x, y, cx, cy) when that lies
// inside it; `fromBottom` counts y from the bottom line, as the DIB-to-device records do.
// It is charged to the canvas before it is decoded, `copies` times when the caller makes
// more pictures of its size; false when it is not drawn.
bool Picture(MetafileCanvas& canvas, std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy,
             bool fromBottom, CRaster& out, unsigned copies = 1);
// A 32-bit packed bitmap's first three bytes as its colours, as they are, and its fourth as
// a grey picture of its opacity, both cut as Picture cuts; false for other depths.
bool SplitOpacity(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
                  CRaster& colour, CRaster& opacity);
// A device-dependent bitmap of a Windows metafile (type, width, height, bytes per row,
// planes, bits per pixel, then rows from the top) as a packed bitmap: one bit per pixel
// in the two colours given, or 24 or 32 bits; empty when it is anything else or cut short.
std::vector<BYTE> FromBitmap16(std::span<const BYTE> bitmap, COLORREF zero, COLORREF one);
// A pattern brush made of the bitmap: its pattern, and its average colour as the solid colour
// that stands in where a pattern cannot be drawn. A bitmap too large to be a pattern is never
// decoded: its average comes from a bounded sample of its bits (a walk through the runs of a
// run-length one), and other kinds keep the brush's colour.
void Pattern(MetafileCanvas& canvas, std::span<const BYTE> dib, MetafileCanvas::Object& brush);

} // namespace MetafileDib
