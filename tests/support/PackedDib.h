#pragma once
// Packed bitmaps for the clipboard exchange tests and the fuzz seeds.
#include "platform/LittleEndian.h"
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
        PutLittleEndian<DWORD>(out.data(), headerSize);
        if (headerSize == 12) {
            PutLittleEndian<WORD>(&out[4], WORD(width));
            PutLittleEndian<WORD>(&out[6], WORD(height));
            PutLittleEndian<WORD>(&out[8], 1);
            PutLittleEndian<WORD>(&out[10], bpp);
        } else {
            PutLittleEndian<DWORD>(&out[4], DWORD(width));
            PutLittleEndian<DWORD>(&out[8], DWORD(height));
            PutLittleEndian<WORD>(&out[12], 1);
            PutLittleEndian<WORD>(&out[14], bpp);
            PutLittleEndian<DWORD>(&out[16], compression);
            PutLittleEndian<DWORD>(&out[24], 3780);  // 96 dots per inch
            PutLittleEndian<DWORD>(&out[28], 11811); // 300 dots per inch
            PutLittleEndian<DWORD>(&out[32], clrUsed);
            for (DWORD i = 0; i < 4 && 40 + 4 * i + 4 <= headerSize; ++i)
                PutLittleEndian<DWORD>(&out[40 + 4 * i], masks[i]);
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

// 4 x 2, 8-bit RLE with three colours: a run, a padded literal 1 1 2, and the end.
inline PackedDib Rle8() {
    PackedDib d;
    d.width = 4;
    d.height = 2;
    d.bpp = 8;
    d.compression = 1;
    d.clrUsed = 3;
    d.extra = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};
    d.rows = {4, 2, 0, 0, 0, 3, 1, 1, 2, 0, 0, 1};
    return d;
}
