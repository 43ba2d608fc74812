#pragma once
// The 14-byte header in front of a bitmap file ("BM", file size, offset of the pixel rows),
// read and written field by field in little-endian order.
#include "platform/WinTypes.h"

struct BITMAPFILEHEADER {
    WORD bfType = 0;
    DWORD bfSize = 0;
    WORD bfReserved1 = 0;
    WORD bfReserved2 = 0;
    DWORD bfOffBits = 0;

    static constexpr DWORD kSize = 14;
    static constexpr WORD kTypeBM = 0x4D42;

    friend bool operator==(const BITMAPFILEHEADER&, const BITMAPFILEHEADER&) = default;

    // `p` must hold kSize bytes.
    static BITMAPFILEHEADER Load(const BYTE* p);
    void Store(BYTE* p) const;
};
