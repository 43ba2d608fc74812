#pragma once
#include "platform/WinTypes.h"

#include <span>
#include <vector>

// Compresses palette indices (row after row, top row first) into GIF image data: data
// sub-blocks without the minimum code size byte and without the empty terminating block.
// Every mode yields a stream that any GIF reader decodes to the same indices.
class GifLzwEncoder {
public:
    enum class Mode {
        Lzw,       // string table with a 5,003-slot hash
        Plain,     // one code per pixel
        RunLength, // runs of equal pixels through the table's growing codes
    };

    // The codec option selects the mode: 1 plain, 2 run-length, anything else LZW.
    static Mode ModeFromOption(int option);

    // `codeSize` is the minimum code size (2..8); pixels must be below 2^codeSize.
    static std::vector<BYTE> Compress(std::span<const BYTE> pixels, int codeSize, Mode mode);
};
