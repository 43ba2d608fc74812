// Palette operations and the nearest-colour search of CRaster.
#include "image/core/CRaster.h"

#include "image/core/StandardPalette.h"

#include <algorithm>
#include <cstring>

BYTE* CRaster::GetPalette() {
    if (!dib_ || head_.biClrUsed == 0)
        return nullptr;
    nearest_.Reset();
    return dib_.get() + BITMAPINFOHEADER::kSize;
}

const BYTE* CRaster::GetPalette() const {
    if (!dib_ || head_.biClrUsed == 0)
        return nullptr;
    return dib_.get() + BITMAPINFOHEADER::kSize;
}

RGBQUAD CRaster::GetPaletteColor(DWORD i) const {
    const BYTE* pal = GetPalette();
    if (!pal || i >= head_.biClrUsed)
        return {};
    return RGBQUAD::Load(pal + std::size_t{i} * RGBQUAD::kSize);
}

bool CRaster::GetPaletteColorRGB(DWORD i, BYTE& r, BYTE& g, BYTE& b) const {
    if (!GetPalette() || i >= head_.biClrUsed)
        return false;
    const RGBQUAD c = GetPaletteColor(i);
    r = c.rgbRed;
    g = c.rgbGreen;
    b = c.rgbBlue;
    return true;
}

void CRaster::SetPaletteColor(DWORD i, BYTE r, BYTE g, BYTE b, BYTE alpha) {
    SetPaletteColor(i, RGBQUAD::FromRgb(r, g, b, alpha));
}

void CRaster::SetPaletteColor(DWORD i, RGBQUAD c) {
    BYTE* pal = GetPalette();
    if (pal && i < head_.biClrUsed)
        c.Store(pal + std::size_t{i} * RGBQUAD::kSize);
}

void CRaster::SetPalette(const RGBQUAD* entries, DWORD n) {
    BYTE* pal = GetPalette();
    if (!pal || !entries)
        return;
    const DWORD count = std::min(n, head_.biClrUsed);
    for (DWORD i = 0; i < count; ++i)
        entries[i].Store(pal + std::size_t{i} * RGBQUAD::kSize);
}

void CRaster::SetPaletteRGB(DWORD n, const BYTE* red, const BYTE* green, const BYTE* blue) {
    if (!green)
        green = red;
    if (!blue)
        blue = green;
    if (!red || !GetPalette())
        return;
    n = std::min(n, head_.biClrUsed);
    for (DWORD i = 0; i < n; ++i)
        SetPaletteColor(i, red[i], green[i], blue[i]);
}

void CRaster::SetPaletteTriples(const BYTE* rgbTriples, DWORD n) {
    if (!rgbTriples || !GetPalette())
        return;
    n = std::min(n, head_.biClrUsed);
    for (DWORD i = 0; i < n; ++i) {
        const BYTE* t = rgbTriples + std::size_t{i} * 3;
        SetPaletteColor(i, t[0], t[1], t[2]);
    }
}

void CRaster::SetGrayPalette() {
    if (!GetPalette() || head_.biClrUsed < 2)
        return;
    const DWORD step = 255 / (head_.biClrUsed - 1);
    for (DWORD i = 0; i < head_.biClrUsed; ++i) {
        const BYTE v = static_cast<BYTE>(i * step);
        SetPaletteColor(i, v, v, v);
    }
}

void CRaster::SetStdPalette() {
    const std::vector<RGBQUAD> pal = StandardPalette(head_.biBitCount);
    SetPalette(pal.data(), static_cast<DWORD>(pal.size()));
}

bool CRaster::IsGrayScale() const {
    if (!GetPalette())
        return false;
    for (DWORD i = 0; i < head_.biClrUsed; ++i) {
        const RGBQUAD c = GetPaletteColor(i);
        if (c.rgbRed != i || c.rgbGreen != i || c.rgbBlue != i)
            return false;
    }
    return true;
}

void CRaster::SwapIndex(BYTE i, BYTE j) {
    if (!GetPalette() || i >= head_.biClrUsed || j >= head_.biClrUsed || i == j)
        return;
    const RGBQUAD a = GetPaletteColor(i);
    SetPaletteColor(i, GetPaletteColor(j));
    SetPaletteColor(j, a);
    for (LONG y = 0; y < head_.biHeight; ++y) {
        for (LONG x = 0; x < head_.biWidth; ++x) {
            const BYTE v = BlindGetPixelIndex(x, y);
            if (v == i)
                BlindSetPixelIndex(x, y, j);
            else if (v == j)
                BlindSetPixelIndex(x, y, i);
        }
    }
}

void CRaster::SetClrImportant(DWORD n) {
    if (head_.biBitCount == 24)
        return;
    if (n == 0 || n > 256)
        n = 0;
    else if (head_.biBitCount == 1)
        n = std::min<DWORD>(n, 2);
    else if (head_.biBitCount == 4)
        n = std::min<DWORD>(n, 16);
    head_.biClrImportant = n;
    StoreHeader();
    nearest_.Reset();
}

void CRaster::RGBtoBGR(BYTE* buffer, DWORD length) const {
    if (!buffer || !bits_ || head_.biBitCount != 24)
        return;
    length = std::min({length, stride_, GetWidth() * 3});
    for (DWORD i = 0; i + 2 < length; i += 3)
        std::swap(buffer[i], buffer[i + 2]);
}

BYTE CRaster::GetNearestIndex(RGBQUAD c) {
    const BYTE* pal = static_cast<const CRaster*>(this)->GetPalette();
    if (!pal)
        return 0;
    // The important count never exceeds the palette (SetClrImportant clamps it), but a header
    // filled by a decoder is not trusted.
    DWORD n = head_.biClrImportant != 0 ? head_.biClrImportant : head_.biClrUsed;
    n = std::min(n, head_.biClrUsed);
    return nearest_.Find(pal, n, c);
}
