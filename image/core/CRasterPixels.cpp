// Single-pixel access of CRaster at every depth.
#include "image/core/CRaster.h"

#include <bit>
#include <cstring>

BYTE* CRaster::PixelAddress(LONG x, LONG y) const {
    return bits_ + std::size_t(y) * stride_ + ((std::size_t(x) * head_.biBitCount) >> 3);
}

BYTE CRaster::GetPixelIndex(LONG x, LONG y) const {
    if (!bits_ || head_.biClrUsed == 0)
        return 0;
    if (!IsInside(x, y))
        return IsTransparent() ? static_cast<BYTE>(info_.transparentIndex) : *bits_;
    return BlindGetPixelIndex(x, y);
}

BYTE CRaster::BlindGetPixelIndex(LONG x, LONG y) const {
    const BYTE b = *PixelAddress(x, y);
    switch (head_.biBitCount) {
    case 8:
        return b;
    case 4:
        return (x & 1) ? (b & 0x0F) : (b >> 4);
    case 1:
        return (b >> (7 - (x & 7))) & 1;
    default:
        return 0;
    }
}

void CRaster::SetPixelIndex(LONG x, LONG y, BYTE i) {
    if (!bits_ || head_.biClrUsed == 0 || !IsInside(x, y))
        return;
    BlindSetPixelIndex(x, y, i);
}

void CRaster::BlindSetPixelIndex(LONG x, LONG y, BYTE i) {
    BYTE* p = PixelAddress(x, y);
    switch (head_.biBitCount) {
    case 8:
        *p = i;
        break;
    case 4:
        if (x & 1)
            *p = static_cast<BYTE>((*p & 0xF0) | (i & 0x0F));
        else
            *p = static_cast<BYTE>((*p & 0x0F) | ((i & 0x0F) << 4));
        break;
    case 1: {
        const BYTE mask = static_cast<BYTE>(0x80 >> (x & 7));
        *p = (i & 1) ? (*p | mask) : (*p & ~mask);
        break;
    }
    default:
        break;
    }
}

RGBQUAD CRaster::StoredColor(LONG x, LONG y) const {
    if (head_.biClrUsed != 0)
        return GetPaletteColor(BlindGetPixelIndex(x, y));
    const BYTE* p = bits_ + std::size_t(y) * stride_ + std::size_t(x) * 3;
    return {p[0], p[1], p[2], 0};
}

RGBQUAD CRaster::GetPixelColor(LONG x, LONG y, bool withAlpha) const {
    if (!bits_)
        return {};
    if (!IsInside(x, y)) {
        if (!IsTransparent())
            return GetPixelColor(0, 0, withAlpha);
        return GetTransparentColor();
    }
    RGBQUAD c = StoredColor(x, y);
    if (head_.biClrUsed == 0)
        c.rgbReserved = info_.transparentColor.rgbReserved;
    if (withAlpha && alpha_)
        c.rgbReserved = BlindGetAlpha(x, y);
    return c;
}

RGBQUAD CRaster::BlindGetPixelColor(LONG x, LONG y, bool withAlpha) const {
    RGBQUAD c = StoredColor(x, y);
    if (head_.biClrUsed == 0)
        c.rgbReserved = 0;
    if (withAlpha && alpha_)
        c.rgbReserved = BlindGetAlpha(x, y);
    return c;
}

void CRaster::SetPixelColor(LONG x, LONG y, RGBQUAD c, bool withAlpha) {
    if (!bits_ || !IsInside(x, y))
        return;
    BlindSetPixelColor(x, y, c, withAlpha);
}

void CRaster::BlindSetPixelColor(LONG x, LONG y, RGBQUAD c, bool withAlpha) {
    if (head_.biClrUsed != 0) {
        BlindSetPixelIndex(x, y, GetNearestIndex(c));
    } else {
        BYTE* p = bits_ + std::size_t(y) * stride_ + std::size_t(x) * 3;
        p[0] = c.rgbBlue;
        p[1] = c.rgbGreen;
        p[2] = c.rgbRed;
    }
    if (withAlpha && alpha_)
        alpha_[std::size_t(y) * GetWidth() + std::size_t(x)] = c.rgbReserved;
}

void CRaster::SetPixelColorRef(LONG x, LONG y, COLORREF colour) {
    SetPixelColor(x, y, RGBQUAD::FromColorRef(colour), false);
}

BYTE* CRaster::GetPixelPointer(LONG x, LONG y) {
    if (!bits_ || head_.biClrUsed != 0)
        return nullptr;
    return bits_ + std::size_t(y) * stride_ + std::size_t(x) * 3;
}

namespace {

int CountBits(DWORD mask) {
    return std::popcount(mask & 0xFFFF);
}

// Shifts left for a positive count and right for a negative one.
DWORD ShiftBy(DWORD v, int left) {
    if (left >= 32 || left <= -32)
        return 0;
    return left >= 0 ? v << left : v >> -left;
}

int BytePosition(DWORD mask) {
    return (mask >> 8 ? 1 : 0) + (mask >> 16 ? 1 : 0) + (mask >> 24 ? 1 : 0);
}

} // namespace

bool CRaster::ConvertBitfields(const BYTE* source, std::size_t sourceSize, DWORD redMask,
                               DWORD greenMask, DWORD blueMask, BYTE depth) {
    if (!bits_ || !source || head_.biBitCount != 24 || (depth != 16 && depth != 32))
        return false;
    const std::size_t width = GetWidth();
    const std::size_t srcStride = depth == 16 ? (width + 1) / 2 * 4 : width * 4;
    if (srcStride * GetHeight() > sourceSize)
        return false;
    const int rb = CountBits(redMask), gb = CountBits(greenMask), bb = CountBits(blueMask);
    const int rp = BytePosition(redMask), gp = BytePosition(greenMask), bp = BytePosition(blueMask);
    for (LONG y = head_.biHeight - 1; y >= 0; --y) {
        const BYTE* src = source + std::size_t(y) * srcStride;
        BYTE* dst = GetBits(static_cast<DWORD>(y));
        for (LONG x = head_.biWidth - 1; x >= 0; --x) {
            BYTE* out = dst + std::size_t(x) * 3;
            if (depth == 16) {
                const DWORD w = static_cast<DWORD>(src[x * 2] | (src[x * 2 + 1] << 8));
                out[0] = static_cast<BYTE>(ShiftBy(w & blueMask, 8 - bb));
                out[1] = static_cast<BYTE>(ShiftBy(w & greenMask, 8 - bb - gb));
                out[2] = static_cast<BYTE>(ShiftBy(w & redMask, 8 - bb - gb - rb));
            } else {
                const BYTE* in = src + std::size_t(x) * 4;
                out[0] = in[bp];
                out[1] = in[gp];
                out[2] = in[rp];
            }
        }
    }
    return true;
}

int CompareLuminance(RGBQUAD a, RGBQUAD b) {
    auto lum = [](RGBQUAD c) {
        return (601 * c.rgbGreen + 306 * c.rgbRed + 117 * c.rgbBlue) >> 10;
    };
    return lum(a) - lum(b);
}
