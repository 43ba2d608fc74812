#include "image/MetafileDib.h"

#include "image/CRaster.h"
#include "image/LittleEndian.h"

#include <algorithm>

namespace MetafileDib {

namespace {

// The source rectangle of a whole bitmap picture, when that lies inside it.
bool Cut(LONG x, LONG y, LONG cx, LONG cy, bool fromBottom, CRaster& out) {
    const LONG width = LONG(out.GetWidth()), height = LONG(out.GetHeight());
    if (cx <= 0 || cy <= 0 || x < 0 || y < 0 || cx > width - x || cy > height - y)
        return true; // anything unusual: the whole bitmap
    if (x == 0 && y == 0 && cx == width && cy == height)
        return true;
    const LONG top = fromBottom ? height - y - cy : y;
    return out.Crop(x, top, x + cx, top + cy);
}

} // namespace

bool Picture(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
             CRaster& out) {
    return !dib.empty() && out.CreateFromGlobalDib(dib) && Cut(x, y, cx, cy, fromBottom, out);
}

bool SplitOpacity(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
                  CRaster& colour, CRaster& opacity) {
    if (dib.size() < 40)
        return false;
    const DWORD header = GetLE32(&dib[0]), compression = GetLE32(&dib[16]);
    const std::int64_t width = std::int32_t(GetLE32(&dib[4]));
    const std::int64_t height = std::int32_t(GetLE32(&dib[8]));
    const std::int64_t rows = height < 0 ? -height : height;
    const std::uint64_t colours = GetLE32(&dib[32]);
    if (GetLE16(&dib[14]) != 32 || (compression != 0 && compression != 3) || width <= 0 ||
        rows <= 0 || header < 40 || header > dib.size() || colours > 256)
        return false;
    const std::uint64_t bits = header + (compression == 3 && header == 40 ? 12 : 0) + colours * 4;
    if (bits > dib.size() || std::uint64_t(width) * std::uint64_t(rows) * 4 > dib.size() - bits ||
        !colour.Create(DWORD(width), DWORD(rows), 24) ||
        !opacity.Create(DWORD(width), DWORD(rows), 24))
        return false;
    for (std::int64_t row = 0; row < rows; ++row) {
        const BYTE* p = &dib[std::size_t(bits + std::uint64_t(row * width * 4))];
        const LONG y = LONG(height < 0 ? rows - 1 - row : row); // counted from the bottom
        for (std::int64_t col = 0; col < width; ++col) {
            const BYTE* px = p + col * 4;
            colour.SetPixelColor(LONG(col), y, RGBQUAD{px[0], px[1], px[2], 0});
            opacity.SetPixelColor(LONG(col), y, RGBQUAD{px[3], px[3], px[3], 0});
        }
    }
    return Cut(x, y, cx, cy, fromBottom, colour) && Cut(x, y, cx, cy, fromBottom, opacity);
}

std::vector<BYTE> FromBitmap16(std::span<const BYTE> bitmap, COLORREF zero, COLORREF one) {
    if (bitmap.size() < 10)
        return {};
    const std::int64_t width = std::int16_t(GetLE16(&bitmap[2]));
    const std::int64_t height = std::int16_t(GetLE16(&bitmap[4]));
    const std::int64_t rowBytes = std::int16_t(GetLE16(&bitmap[6]));
    const unsigned planes = bitmap[8], bits = bitmap[9];
    if (width <= 0 || height <= 0 || planes != 1 || (bits != 1 && bits != 24 && bits != 32) ||
        rowBytes < (width * bits + 7) / 8 || rowBytes * height > std::int64_t(bitmap.size()) - 10)
        return {};
    const std::int64_t stride = (width * bits + 31) / 32 * 4;
    std::vector<BYTE> dib(40);
    auto put32 = [&](std::size_t at, DWORD v) {
        for (int i = 0; i < 4; ++i)
            dib[at + std::size_t(i)] = BYTE(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, DWORD(width));
    put32(8, DWORD(height));
    put32(12, 1 | (bits << 16));
    if (bits == 1) {
        for (COLORREF c : {zero, one})
            dib.insert(dib.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    for (std::int64_t y = height - 1; y >= 0; --y) { // bottom row first
        const BYTE* row = &bitmap[std::size_t(10 + y * rowBytes)];
        dib.insert(dib.end(), row, row + std::min(rowBytes, stride));
        dib.insert(dib.end(), std::size_t(std::max<std::int64_t>(0, stride - rowBytes)), 0);
    }
    return dib;
}

void Pattern(std::span<const BYTE> dib, MetafileCanvas::Object& brush) {
    CRaster picture;
    if (dib.empty() || !picture.CreateFromGlobalDib(dib))
        return;
    std::uint64_t r = 0, g = 0, b = 0;
    const DWORD w = picture.GetWidth(), h = picture.GetHeight();
    for (DWORD y = 0; y < h; ++y) {
        for (DWORD x = 0; x < w; ++x) {
            const RGBQUAD c = picture.GetPixelColor(LONG(x), LONG(y), false);
            r += c.rgbRed;
            g += c.rgbGreen;
            b += c.rgbBlue;
        }
    }
    const std::uint64_t n = std::uint64_t{w} * h;
    if (n == 0)
        return;
    brush.brush.lbColor = RGB(BYTE(r / n), BYTE(g / n), BYTE(b / n));
    brush.pattern = MetafileCanvas::Pattern::From(picture);
}

} // namespace MetafileDib
