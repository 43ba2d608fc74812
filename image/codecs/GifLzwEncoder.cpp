#include "image/codecs/GifLzwEncoder.h"

#include <array>
#include <cstdint>

namespace {

constexpr int kMaxBits = 12;
constexpr int kMaxMaxCode = 1 << kMaxBits;
constexpr int kHashSize = 5003;
constexpr int kHashShift = 4;

// Packs codes least significant bit first into sub-blocks of at most `blockLimit` bytes.
class CodePacker {
public:
    CodePacker(std::vector<BYTE>& out, std::size_t blockLimit) : out_(out), limit_(blockLimit) {}

    void Put(int code, int width) {
        accum_ |= static_cast<std::uint64_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            Byte(static_cast<BYTE>(accum_ & 0xFF));
            accum_ >>= 8;
            bits_ -= 8;
        }
    }
    void Flush() {
        if (bits_ > 0)
            Byte(static_cast<BYTE>(accum_ & 0xFF));
        accum_ = 0;
        bits_ = 0;
        WriteBlock();
    }

private:
    void Byte(BYTE b) {
        block_[count_++] = b;
        if (count_ >= limit_)
            WriteBlock();
    }
    void WriteBlock() {
        if (count_ == 0)
            return;
        out_.push_back(static_cast<BYTE>(count_));
        out_.insert(out_.end(), block_.begin(),
                    block_.begin() + static_cast<std::ptrdiff_t>(count_));
        count_ = 0;
    }

    std::vector<BYTE>& out_;
    std::size_t limit_;
    std::array<BYTE, 256> block_{};
    std::size_t count_ = 0;
    std::uint64_t accum_ = 0;
    int bits_ = 0;
};

// The code width bookkeeping shared by the LZW and plain modes: the width grows once the
// next free code passes the largest code of the current width, and returns after a clear.
class TableCodeWriter {
public:
    TableCodeWriter(std::vector<BYTE>& out, int codeSize)
        : packer_(out, 254), initBits_(codeSize + 1), bits_(initBits_),
          maxCode_((1 << initBits_) - 1), clear_(1 << codeSize), end_(clear_ + 1),
          nextFree_(clear_ + 2) {}

    int Clear() const { return clear_; }
    int End() const { return end_; }
    int& NextFree() { return nextFree_; }

    void Output(int code) {
        packer_.Put(code, bits_);
        if (nextFree_ > maxCode_ || clearFlag_) {
            if (clearFlag_) {
                bits_ = initBits_;
                maxCode_ = (1 << bits_) - 1;
                clearFlag_ = false;
            } else {
                ++bits_;
                maxCode_ = bits_ == kMaxBits ? kMaxMaxCode : (1 << bits_) - 1;
            }
        }
        if (code == end_)
            packer_.Flush();
    }
    // Starts a new table: the next code is written at the initial width.
    void ResetTable() {
        nextFree_ = clear_ + 2;
        clearFlag_ = true;
        Output(clear_);
    }

private:
    CodePacker packer_;
    int initBits_;
    int bits_;
    int maxCode_;
    int clear_;
    int end_;
    int nextFree_;
    bool clearFlag_ = false;
};

void CompressLzw(std::span<const BYTE> pixels, int codeSize, std::vector<BYTE>& out) {
    TableCodeWriter w(out, codeSize);
    std::vector<std::int32_t> keys(kHashSize, -1);
    std::vector<WORD> codes(kHashSize, 0);
    w.Output(w.Clear());
    if (pixels.empty()) {
        w.Output(w.End());
        return;
    }
    int prefix = pixels[0];
    for (std::size_t p = 1; p < pixels.size(); ++p) {
        const int c = pixels[p];
        const std::int32_t key = (c << kMaxBits) + prefix;
        int i = (c << kHashShift) ^ prefix;
        bool found = false;
        if (keys[i] == key) {
            found = true;
        } else if (keys[i] >= 0) {
            const int step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0)
                    i += kHashSize;
                if (keys[i] == key) {
                    found = true;
                    break;
                }
            } while (keys[i] > 0);
        }
        if (found) {
            prefix = codes[i];
            continue;
        }
        w.Output(prefix);
        prefix = c;
        if (w.NextFree() < kMaxMaxCode) {
            codes[i] = static_cast<WORD>(w.NextFree()++);
            keys[i] = key;
        } else {
            std::fill(keys.begin(), keys.end(), -1);
            w.ResetTable();
        }
    }
    w.Output(prefix);
    w.Output(w.End());
}

void CompressPlain(std::span<const BYTE> pixels, int codeSize, std::vector<BYTE>& out) {
    TableCodeWriter w(out, codeSize);
    w.Output(w.Clear());
    for (const BYTE c : pixels) {
        w.Output(c);
        if (w.NextFree() < kMaxMaxCode)
            ++w.NextFree();
        else
            w.ResetTable();
    }
    w.Output(w.End());
}

// Emits runs of equal pixels with codes the decoder's table is known to hold (each new code
// the decoder adds extends the previous run by one pixel), clearing the table when that is
// cheaper than repeating.
class RunLengthCompressor {
public:
    RunLengthCompressor(std::vector<BYTE>& out, int codeSize)
        : packer_(out, 255), initBits_(codeSize + 1), clear_(1 << codeSize), end_(clear_ + 1),
          base_(clear_ + 2), bumpInit_(clear_ - 1), clearInit_(initBits_ <= 3 ? 9 : bumpInit_ - 1),
          maxOut_(kMaxMaxCode - (clear_ + 3)) {}

    void Run(std::span<const BYTE> pixels) {
        DidClear();
        Write(clear_);
        for (const BYTE c : pixels) {
            if (count_ > 0 && c != pixel_)
                Flush();
            if (count_ > 0 && c == pixel_) {
                ++count_;
            } else {
                pixel_ = c;
                count_ = 1;
            }
        }
        if (count_ > 0)
            Flush();
        Write(end_);
        packer_.Flush();
    }

private:
    void Write(int code) { packer_.Put(code, bits_); }

    void DidClear() {
        bits_ = initBits_;
        bump_ = bumpInit_;
        clearAt_ = clearInit_;
        outCount_ = 0;
        tableMax_ = 0;
        justCleared_ = true;
    }

    void OutputPlain(int code) {
        justCleared_ = false;
        Write(code);
        ++outCount_;
        if (outCount_ >= bump_) {
            ++bits_;
            bump_ += 1 << (bits_ - 1);
        }
        if (outCount_ >= clearAt_) {
            Write(clear_);
            DidClear();
        }
    }

    void ResetClearPoint() {
        clearAt_ = clearInit_;
        if (outCount_ >= clearAt_) {
            Write(clear_);
            DidClear();
        }
    }

    static long long IntSqrt(long long x) {
        if (x < 2)
            return x;
        long long r = 1;
        for (long long v = x; v; v >>= 2)
            r <<= 1;
        for (;;) {
            const long long v = (x / r + r) / 2;
            if (v == r || v == r + 1)
                return r;
            r = v;
        }
    }

    // Codes needed to send `count` pixels from a fresh table with at most `codes` codes a round.
    static long long TriangleCost(long long count, long long codes) {
        long long cost = 0;
        const long long per = codes * (codes + 1) / 2;
        while (count >= per) {
            cost += codes;
            count -= per;
        }
        if (count > 0) {
            long long n = IntSqrt(count);
            while (n * (n + 1) >= 2 * count)
                --n;
            while (n * (n + 1) < 2 * count)
                ++n;
            cost += n;
        }
        return cost;
    }

    void FlushFromClear(long long count) {
        clearAt_ = maxOut_;
        tablePixel_ = pixel_;
        long long n = 1;
        while (count > 0) {
            if (n == 1) {
                tableMax_ = 1;
                OutputPlain(pixel_);
                --count;
            } else if (count >= n) {
                tableMax_ = n;
                OutputPlain(static_cast<int>(base_ + n - 2));
                count -= n;
            } else if (count == 1) {
                ++tableMax_;
                OutputPlain(pixel_);
                count = 0;
            } else {
                ++tableMax_;
                OutputPlain(static_cast<int>(base_ + count - 2));
                count = 0;
            }
            n = outCount_ == 0 ? 1 : n + 1;
        }
        ResetClearPoint();
    }

    void FlushClearOrRepeat(long long count) {
        if (1 + TriangleCost(count, maxOut_) < count) {
            Write(clear_);
            DidClear();
            FlushFromClear(count);
        } else {
            for (; count > 0; --count)
                OutputPlain(pixel_);
        }
    }

    void FlushWithTable(long long count) {
        long long repeats = count / tableMax_;
        long long leftover = count % tableMax_;
        long long extra = leftover ? 1 : 0;
        if (outCount_ + repeats + extra > maxOut_) {
            repeats = maxOut_ - outCount_;
            leftover = count - repeats * tableMax_;
            extra = 1 + TriangleCost(leftover, maxOut_);
        }
        if (1 + TriangleCost(count, maxOut_) < repeats + extra) {
            Write(clear_);
            DidClear();
            FlushFromClear(count);
            return;
        }
        clearAt_ = maxOut_;
        for (; repeats > 0; --repeats)
            OutputPlain(static_cast<int>(base_ + tableMax_ - 2));
        if (leftover) {
            if (justCleared_)
                FlushFromClear(leftover);
            else if (leftover == 1)
                OutputPlain(pixel_);
            else
                OutputPlain(static_cast<int>(base_ + leftover - 2));
        }
        ResetClearPoint();
    }

    void Flush() {
        if (count_ == 1) {
            OutputPlain(pixel_);
        } else if (justCleared_) {
            FlushFromClear(count_);
        } else if (tableMax_ < 2 || tablePixel_ != pixel_) {
            FlushClearOrRepeat(count_);
        } else {
            FlushWithTable(count_);
        }
        count_ = 0;
    }

    CodePacker packer_;
    const int initBits_;
    const int clear_;
    const int end_;
    const long long base_;
    const long long bumpInit_;
    const long long clearInit_;
    const long long maxOut_;
    int bits_ = 0;
    long long bump_ = 0;
    long long clearAt_ = 0;
    long long outCount_ = 0;
    long long tableMax_ = 0;
    bool justCleared_ = true;
    int pixel_ = 0;
    int tablePixel_ = 0;
    long long count_ = 0;
};

} // namespace

GifLzwEncoder::Mode GifLzwEncoder::ModeFromOption(int option) {
    return option == 1 ? Mode::Plain : option == 2 ? Mode::RunLength : Mode::Lzw;
}

std::vector<BYTE> GifLzwEncoder::Compress(std::span<const BYTE> pixels, int codeSize, Mode mode) {
    std::vector<BYTE> out;
    out.reserve(pixels.size() / 2 + 64);
    switch (mode) {
    case Mode::Plain:
        CompressPlain(pixels, codeSize, out);
        break;
    case Mode::RunLength: {
        RunLengthCompressor rle(out, codeSize);
        rle.Run(pixels);
        break;
    }
    default:
        CompressLzw(pixels, codeSize, out);
        break;
    }
    return out;
}
