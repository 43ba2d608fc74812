#pragma once
// Packed bitmaps for the clipboard exchange tests and the fuzz seeds.
#include "image/LittleEndian.h"
#include "platform/WinTypes.h"

#include <vector>

// A packed bitmap as other programs put it on the clipboard: a header of `headerSize` bytes
// (12 is the core header with 16-bit sides), then `extra` (palette or masks), then `rows`.
struct PackedDib {
    DWORD headerSize = 40;
    LONG width = 0;
    LONG height = 0;
    WORD bpp = 24;
    DWORD compression = 0;
    DWORD clrUsed = 0;
    DWORD masks[4] = {}; // in the header from 52 bytes up
    std::vector<BYTE> extra;
    std::vector<BYTE> rows;

    std::vector<BYTE> Bytes() const {
        std::vector<BYTE> out(headerSize);
        PutLE32(out.data(), headerSize);
        if (headerSize == 12) {
            PutLE16(&out[4], WORD(width));
            PutLE16(&out[6], WORD(height));
            PutLE16(&out[8], 1);
            PutLE16(&out[10], bpp);
        } else {
            PutLE32(&out[4], DWORD(width));
            PutLE32(&out[8], DWORD(height));
            PutLE16(&out[12], 1);
            PutLE16(&out[14], bpp);
            PutLE32(&out[16], compression);
            PutLE32(&out[24], 3780);  // 96 dots per inch
            PutLE32(&out[28], 11811); // 300 dots per inch
            PutLE32(&out[32], clrUsed);
            for (DWORD i = 0; i < 4 && 40 + 4 * i + 4 <= headerSize; ++i)
                PutLE32(&out[40 + 4 * i], masks[i]);
        }
        out.insert(out.end(), extra.begin(), extra.end());
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

// 3 x 2, 24-bit: bottom row blue, green, red; top row white, black, grey.
inline PackedDib TrueColour(DWORD headerSize) {
    PackedDib d;
    d.headerSize = headerSize;
    d.width = 3;
    d.height = 2;
    d.rows = {255, 0,   0,   0, 255, 0, 0,   0,   255, 0, 0, 0,
              255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0};
    return d;
}
