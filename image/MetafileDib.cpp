#include "image/MetafileDib.h"

#include "image/CRaster.h"
#include "image/LittleEndian.h"

#include <algorithm>

namespace MetafileDib {

bool Picture(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
             CRaster& out) {
    if (dib.empty() || !out.CreateFromGlobalDib(dib))
        return false;
    const LONG width = LONG(out.GetWidth()), height = LONG(out.GetHeight());
    if (cx <= 0 || cy <= 0 || x < 0 || y < 0 || cx > width - x || cy > height - y)
        return true; // anything unusual: the whole bitmap
    if (x == 0 && y == 0 && cx == width && cy == height)
        return true;
    const LONG top = fromBottom ? height - y - cy : y;
    return out.Crop(x, top, x + cx, top + cy);
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
