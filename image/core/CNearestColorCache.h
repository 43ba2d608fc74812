#pragma once
// Finds the palette entry nearest to a colour (squared distance over red, green and blue; the
// lowest index wins a tie) without scanning the whole palette for every pixel. The RGB cube is
// cut into 8x8x8 cells; the first lookup in a cell keeps the few entries that can be nearest
// to any colour of that cell, and later lookups only compare those. The answer is exactly the
// one a full scan gives. The cell table (about 200 KB) is only built once a picture has asked
// for more than a few hundred colours; before that each new colour is a plain scan. Reset it
// whenever the palette or the number of searched entries changes.
#include "image/core/RgbQuad.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <vector>

class CNearestColorCache {
public:
    void Reset();
    // `palette` holds `count` (1..256) entries of 4 bytes: blue, green, red, fourth byte.
    BYTE Find(const BYTE* palette, unsigned count, RGBQUAD c);

    // The plain full scan, kept as the reference the cached answer must equal.
    static BYTE Scan(const BYTE* palette, unsigned count, RGBQUAD c);

private:
    static constexpr int kCellShift = 3;
    static constexpr int kCellsPerSide = 256 >> kCellShift;
    static constexpr int kNumCells = kCellsPerSide * kCellsPerSide * kCellsPerSide;
    static constexpr unsigned kScansBeforeTable = 256;

    static int CellOf(RGBQUAD c);
    void BuildCell(int cell, const BYTE* palette, unsigned count);

    bool lastValid_ = false;
    RGBQUAD lastColor_;
    BYTE lastIndex_ = 0;
    unsigned count_ = 0;
    unsigned scans_ = 0;
    // Per cell: offset of its candidate list in candidates_, or -1 when not built yet.
    std::vector<std::int32_t> cellStart_;
    std::vector<std::uint16_t> cellCount_;
    std::vector<BYTE> candidates_;
};
