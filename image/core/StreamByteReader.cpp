#include "image/core/StreamByteReader.h"

#include "image/core/CRasterFile.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

StreamByteReader::StreamByteReader(CRasterFile& file) : file_(file), buffer_(kBufferSize) {}

bool StreamByteReader::Refill() {
    consumed_ += len_;
    pos_ = 0;
    len_ = file_.Read(buffer_.data(), 1, buffer_.size());
    return len_ > 0;
}

bool StreamByteReader::Read(BYTE* out, std::size_t n) {
    while (n > 0) {
        if (pos_ == len_ && !Refill())
            return false;
        const std::size_t take = std::min(n, len_ - pos_);
        std::memcpy(out, buffer_.data() + pos_, take);
        pos_ += take;
        out += take;
        n -= take;
    }
    return true;
}

void StreamByteReader::Sync() {
    const std::size_t unread = len_ - pos_;
    if (unread > 0)
        file_.Seek(-static_cast<LONG>(unread), 1);
    consumed_ += pos_;
    len_ = pos_ = 0;
}
