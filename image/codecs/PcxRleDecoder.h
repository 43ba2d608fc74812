#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

class StreamByteReader;

// Expands PCX run-length data. A run may go on from one line into the next, so the decoder
// keeps an unfinished run between calls.
class PcxRleDecoder {
public:
    enum class Result { Ok, EndOfData, RunPastImage };

    // `total` is the count of bytes the whole picture holds; a run longer than what is left
    // of it is an error.
    explicit PcxRleDecoder(std::uint64_t total) : left_(total) {}

    // Fills `out` with the next n decoded bytes.
    Result Decode(StreamByteReader& in, BYTE* out, std::size_t n);

private:
    std::uint64_t left_;
    unsigned run_ = 0;
    BYTE value_ = 0;
};
