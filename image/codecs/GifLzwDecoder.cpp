#include "image/codecs/GifLzwDecoder.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kMaxCodes = 4096;

// Reads variable-width codes least significant bit first across data sub-blocks.
class CodeReader {
public:
    CodeReader(std::span<const BYTE> data, std::size_t pos) : data_(data), pos_(pos) {}

    // -1 when the data ends (an empty sub-block or the end of the input).
    int Next(int width) {
        while (bits_ < width) {
            if (blockLeft_ == 0) {
                if (ended_ || pos_ >= data_.size() || data_[pos_] == 0) {
                    ended_ = true;
                    return -1;
                }
                blockLeft_ = data_[pos_++];
            }
            if (pos_ >= data_.size()) {
                ended_ = true;
                return -1;
            }
            accum_ |= static_cast<std::uint32_t>(data_[pos_++]) << bits_;
            bits_ += 8;
            --blockLeft_;
        }
        const int code = static_cast<int>(accum_ & ((1u << width) - 1));
        accum_ >>= width;
        bits_ -= width;
        return code;
    }

    // Skips what is left of the current sub-block and the ones after it, up to and past the
    // empty sub-block that ends the frame's data.
    std::size_t SkipToEnd() {
        if (!ended_) {
            pos_ += blockLeft_;
            while (pos_ < data_.size() && data_[pos_] != 0)
                pos_ += 1 + data_[pos_];
        }
        if (pos_ < data_.size() && data_[pos_] == 0)
            ++pos_;
        return pos_ < data_.size() ? pos_ : data_.size();
    }

private:
    std::span<const BYTE> data_;
    std::size_t pos_;
    std::size_t blockLeft_ = 0;
    std::uint32_t accum_ = 0;
    int bits_ = 0;
    bool ended_ = false;
};

} // namespace

namespace {

// Where decoded pixels go: all into one vector, or a row at a time to a sink.
class VectorOut {
public:
    VectorOut(std::vector<BYTE>& pixels, std::size_t count) : pixels_(pixels), count_(count) {}
    bool Wants() const { return pixels_.size() < count_; }
    void Put(BYTE v) { pixels_.push_back(v); }
    void Finish() {}

private:
    std::vector<BYTE>& pixels_;
    std::size_t count_;
};

class RowOut {
public:
    RowOut(std::size_t width, std::size_t rows, const GifLzwDecoder::RowSink& sink)
        : row_(width), rows_(rows), sink_(sink) {}
    bool Wants() const { return open_ && fileRow_ < rows_; }
    void Put(BYTE v) {
        row_[fill_++] = v;
        if (fill_ == row_.size())
            Flush();
    }
    void Finish() {
        if (fill_ > 0 && Wants())
            Flush();
    }
    std::size_t Delivered() const { return delivered_; }

private:
    void Flush() {
        delivered_ += fill_;
        open_ = sink_(fileRow_++, std::span<const BYTE>(row_.data(), fill_));
        fill_ = 0;
    }

    std::vector<BYTE> row_;
    std::size_t rows_;
    const GifLzwDecoder::RowSink& sink_;
    std::size_t fill_ = 0;
    std::size_t fileRow_ = 0;
    std::size_t delivered_ = 0;
    bool open_ = true;
};

template <class Out>
void Run(std::span<const BYTE> data, Out& out, GifLzwDecoder::Status& status, int& badCodes,
         std::size_t& end) {
    using Status = GifLzwDecoder::Status;
    if (data.empty()) {
        status = Status::Truncated;
        return;
    }
    const int size = data[0];
    // Sizes up to 11 still leave codes within 12 bits.
    if (size < 2 || size > 11) {
        status = Status::BadCodeSize;
        CodeReader skip(data, 1);
        end = skip.SkipToEnd();
        return;
    }
    const int clear = 1 << size;
    const int endCode = clear + 1;
    const int firstFree = clear + 2;
    int width = size + 1;
    int topSlot = 1 << width;
    int slot = firstFree;

    std::array<BYTE, kMaxCodes> suffix{};
    std::array<WORD, kMaxCodes> prefix{};
    std::array<BYTE, kMaxCodes> stack{};
    int oldCode = -1;
    BYTE firstChar = 0;

    CodeReader reader(data, 1);
    while (out.Wants()) {
        int code = reader.Next(width);
        if (code < 0) {
            status = Status::Truncated;
            break;
        }
        if (code == endCode)
            break;
        if (code == clear) {
            width = size + 1;
            topSlot = 1 << width;
            slot = firstFree;
            oldCode = -1;
            continue;
        }
        if (oldCode < 0) {
            // The first code after a clear is a plain pixel.
            if (code >= slot)
                code = 0;
            oldCode = code;
            firstChar = static_cast<BYTE>(code);
            out.Put(firstChar);
            continue;
        }
        const int inCode = code;
        std::size_t sp = 0;
        if (code >= slot) {
            if (code > slot)
                ++badCodes;
            stack[sp++] = firstChar;
            code = oldCode;
        }
        // Every entry's prefix is a smaller code, so this walk ends within the table size.
        while (code >= firstFree && sp < kMaxCodes - 1) {
            stack[sp++] = suffix[code];
            code = prefix[code];
        }
        if (code >= clear)
            code = 0; // a control code used as data: take it as pixel 0
        stack[sp++] = static_cast<BYTE>(code);
        firstChar = static_cast<BYTE>(code);
        if (slot < topSlot && slot < kMaxCodes) {
            suffix[slot] = firstChar;
            prefix[slot] = static_cast<WORD>(oldCode);
            ++slot;
        }
        if (slot >= topSlot && width < 12) {
            topSlot <<= 1;
            ++width;
        }
        oldCode = inCode >= slot ? code : inCode;
        while (sp > 0 && out.Wants())
            out.Put(stack[--sp]);
    }
    out.Finish();
    end = reader.SkipToEnd();
}

} // namespace

GifLzwDecoder::Result GifLzwDecoder::Decode(std::span<const BYTE> data, std::size_t pixelCount) {
    Result r;
    // A frame's size is only a claim; the data present bounds what can really come out.
    r.pixels.reserve(std::min<std::size_t>(pixelCount, data.size() * 64));
    VectorOut out(r.pixels, pixelCount);
    Run(data, out, r.status, r.badCodes, r.end);
    return r;
}

GifLzwDecoder::Streamed GifLzwDecoder::DecodeRows(std::span<const BYTE> data, std::size_t width,
                                                  std::size_t rows, const RowSink& sink) {
    Streamed r;
    if (width == 0 || rows == 0) {
        RowOut none(1, 0, sink);
        Run(data, none, r.status, r.badCodes, r.end);
        return r;
    }
    RowOut out(width, rows, sink);
    Run(data, out, r.status, r.badCodes, r.end);
    r.delivered = out.Delivered();
    return r;
}
