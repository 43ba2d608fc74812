#pragma once
// One palette entry or colour of the image library: blue, green, red, then a fourth byte that
// carries alpha where an operation says so. Stored as exactly these four bytes.
#include "platform/WinTypes.h"

struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;

    static constexpr int kSize = 4;

    friend bool operator==(const RGBQUAD&, const RGBQUAD&) = default;

    static RGBQUAD FromRgb(BYTE r, BYTE g, BYTE b, BYTE a = 0) { return {b, g, r, a}; }
    static RGBQUAD Load(const BYTE* p) { return {p[0], p[1], p[2], p[3]}; }
    void Store(BYTE* p) const {
        p[0] = rgbBlue;
        p[1] = rgbGreen;
        p[2] = rgbRed;
        p[3] = rgbReserved;
    }
    // A Windows COLORREF holds red in its low byte.
    static RGBQUAD FromColorRef(COLORREF c) {
        return {GetBValue(c), GetGValue(c), GetRValue(c), 0};
    }
    COLORREF ToColorRef() const { return RGB(rgbRed, rgbGreen, rgbBlue); }
};
