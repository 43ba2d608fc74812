#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

// Decodes the LZW data of one GIF frame: the minimum code size byte followed by data
// sub-blocks. Pixels come out in file order (the caller places interlaced rows).
class GifLzwDecoder {
public:
    enum class Status { Ok, BadCodeSize, Truncated };

    struct Result {
        std::vector<BYTE> pixels; // at most the requested count; short when the data ends early
        Status status = Status::Ok;
        int badCodes = 0;    // codes that pointed past the table
        std::size_t end = 0; // offset just past the frame's terminating empty sub-block
    };

    // `data` starts at the minimum code size byte; decoding stops after `pixelCount` pixels,
    // at the end code, or where the data ends.
    static Result Decode(std::span<const BYTE> data, std::size_t pixelCount);

    // Receives the pixels a row at a time in file order (the last row short when the data
    // ends early); answers false to stop decoding there.
    using RowSink = std::function<bool(std::size_t fileRow, std::span<const BYTE> row)>;
    // The same, row by row, holding one row: `pixels` of the result stays empty and
    // `delivered` counts the pixels handed over.
    struct Streamed {
        Status status = Status::Ok;
        int badCodes = 0;
        std::size_t end = 0;
        std::size_t delivered = 0;
    };
    static Streamed DecodeRows(std::span<const BYTE> data, std::size_t width, std::size_t rows,
                               const RowSink& sink);
};
