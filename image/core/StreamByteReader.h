#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CRasterFile;

// Buffered byte-at-a-time reading from a stream for the run-length decoders. It reads ahead;
// Sync() puts the stream back at the first byte not yet taken.
class StreamByteReader {
public:
    explicit StreamByteReader(CRasterFile& file);

    // The next byte, or -1 at the end of the data.
    int Get() {
        if (pos_ == len_ && !Refill())
            return -1;
        return buffer_[pos_++];
    }
    // Exactly n bytes, or false at the end of the data.
    bool Read(BYTE* out, std::size_t n);
    // Bytes taken so far.
    std::uint64_t Consumed() const { return consumed_ + pos_; }
    void Sync();

private:
    bool Refill();

    CRasterFile& file_;
    std::vector<BYTE> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    std::uint64_t consumed_ = 0; // bytes of the buffers before the current one
};
