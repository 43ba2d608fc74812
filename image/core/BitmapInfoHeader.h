#pragma once
// The 40-byte header of a device-independent bitmap, read and written field by field in
// little-endian order.
#include "platform/WinTypes.h"

struct BITMAPINFOHEADER {
    DWORD biSize = 0;
    LONG biWidth = 0;
    LONG biHeight = 0;
    WORD biPlanes = 0;
    WORD biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;

    static constexpr DWORD kSize = 40;
    static constexpr DWORD kBiRgb = 0;
    static constexpr DWORD kBiRle8 = 1;
    static constexpr DWORD kBiRle4 = 2;
    static constexpr DWORD kBiBitfields = 3;

    friend bool operator==(const BITMAPINFOHEADER&, const BITMAPINFOHEADER&) = default;

    // `p` must hold kSize bytes.
    static BITMAPINFOHEADER Load(const BYTE* p);
    void Store(BYTE* p) const;
};
