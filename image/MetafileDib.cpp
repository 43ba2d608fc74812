#include "image/MetafileDib.h"

#include "image/CRaster.h"

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

bool Average(std::span<const BYTE> dib, COLORREF& colour) {
    CRaster picture;
    if (dib.empty() || !picture.CreateFromGlobalDib(dib))
        return false;
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
        return false;
    colour = RGB(BYTE(r / n), BYTE(g / n), BYTE(b / n));
    return true;
}

} // namespace MetafileDib
