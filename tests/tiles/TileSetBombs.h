#pragma once
// Tile-set texts that ask for far more than their few bytes are worth, for the tests and the
// fuzz seeds.
#include <string>

namespace TileSetBombs {

// Tiles of `side` pixels a side, `tiles` of them, over the sheet `sheet`.
inline std::string HugeTiles(const std::string& sheet, int side, int tiles) {
    std::string text = "NAME: Huge\r\nBMPFILE: " + sheet +
                       "\r\nPIXELSWIDE: " + std::to_string(side) +
                       "\r\nPIXELSHIGH: " + std::to_string(side) + "\r\n";
    static const char* const kKinds[] = {"N", "E", "NE", "S", "NS", "ES", "NES", "W"};
    for (int i = 0; i < tiles; ++i)
        text += std::string("TILE: ") + kKinds[i % 8] + ",1,1\r\n";
    return text;
}

// `lines` BMPFILE lines naming `first` and `last` in turn, `last` at the end.
inline std::string ManySheetLines(const std::string& first, const std::string& last, int lines) {
    std::string text = "NAME: Many\r\nPIXELSWIDE: 10\r\nPIXELSHIGH: 10\r\nTILE: N,1,1\r\n";
    for (int i = lines - 1; i >= 0; --i)
        text += "BMPFILE: " + (i % 2 ? first : last) + "\r\n";
    return text;
}

} // namespace TileSetBombs
