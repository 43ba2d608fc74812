#include "image/codecs/CRasterPGX.h"

#include "image/core/CRasterFile.h"
#include "image/core/RowPack.h"
#include "image/core/SampleScale.h"
#include "image/core/StreamByteReader.h"
#include "platform/TextFormat.h"

#include <vector>

namespace {

constexpr const char* kCorrupted = "corrupted PGX";

bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}

// Skips blanks (and signs, noting a minus); the first other byte.
int SkipBlanks(StreamByteReader& in, bool* isSigned = nullptr) {
    int c = in.Get();
    while (IsBlank(c) || (isSigned && (c == '+' || c == '-'))) {
        if (isSigned && c == '-')
            *isSigned = true;
        c = in.Get();
    }
    return c;
}

// A decimal number starting at `c`; `c` is left at the byte after it.
bool Number(StreamByteReader& in, int& c, DWORD& value) {
    if (c < '0' || c > '9')
        return false;
    std::uint64_t v = 0;
    while (c >= '0' && c <= '9') {
        v = v * 10 + std::uint64_t(c - '0');
        if (v > 0xFFFFFFFFu)
            return false;
        c = in.Get();
    }
    value = DWORD(v);
    return true;
}

bool ReadHeader(StreamByteReader& in, CRasterPGX::Header& h) {
    if (in.Get() != 'P' || in.Get() != 'G')
        return false;
    int c = SkipBlanks(in);
    const int second = in.Get();
    if (c == 'M' && second == 'L')
        h.bigEndian = true;
    else if (c == 'L' && second == 'M')
        h.bigEndian = false;
    else
        return false;
    c = SkipBlanks(in, &h.isSigned);
    if (!Number(in, c, h.depth) || !IsBlank(c))
        return false;
    c = SkipBlanks(in);
    if (!Number(in, c, h.width) || !IsBlank(c))
        return false;
    c = SkipBlanks(in);
    if (!Number(in, c, h.height))
        return false;
    while (IsBlank(c) || c == '\r')
        c = in.Get();
    return c == '\n' && h.depth >= 1 && h.depth <= 32 && h.width > 0 && h.height > 0;
}

std::int64_t Sample(const BYTE* p, std::size_t bytes, bool bigEndian, bool isSigned) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        v |= std::uint32_t(p[bigEndian ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    if (!isSigned)
        return v;
    const int bits = int(bytes * 8);
    if (bits < 32 && (v >> (bits - 1)) != 0)
        return std::int64_t(v) - (std::int64_t{1} << bits);
    return static_cast<std::int32_t>(v);
}

} // namespace

bool CRasterPGX::Decode(CRasterFile& file, const DecodeOptions& options) {
    const std::uint64_t available = BytesLeft(file);
    StreamByteReader in(file);
    Header h;
    if (!ReadHeader(in, h))
        return Fail(kCorrupted);
    const std::uint64_t left = available > in.Consumed() ? available - in.Consumed() : 0;
    const std::uint64_t rowBytes = std::uint64_t{h.width} * h.SampleBytes();
    const std::uint64_t estimate = PictureBytes(h.width, h.height, 8) + rowBytes;
    if (!HeaderOnly() && !options.Allows(estimate))
        return FailTooLarge("PGX", h.width, h.height, estimate, options);
    if (rowBytes * h.height > left)
        return Fail(kCorrupted);
    Info().numFrames = 1;
    if (HeaderOnly()) {
        SetHeaderOnly(h.width, h.height, 8);
        return true;
    }
    if (!Create(h.width, h.height, 8, kTypePgx))
        return false;
    SetGrayPalette();
    const SampleScale scale = SampleScale::ForPrecision(int(h.depth), h.isSigned);
    std::vector<BYTE> raw(static_cast<std::size_t>(rowBytes));
    for (DWORD top = 0; top < h.height; ++top) {
        if (Cancelled())
            return false;
        if (!in.Read(raw.data(), raw.size()))
            return Fail(kCorrupted);
        BYTE* row = GetBits(h.height - 1 - top);
        const std::size_t n = h.SampleBytes();
        for (DWORD x = 0; x < h.width; ++x)
            row[x] = scale(Sample(&raw[x * n], n, h.bigEndian, h.isSigned));
        SetProgress(top, h.height);
    }
    return true;
}

bool CRasterPGX::Encode(CRasterFile& file) {
    const DWORD width = GetWidth(), height = GetHeight();
    const std::string header = Format("PG ML + 8 %u %u\n", width, height);
    if (!WriteExact(file, header.data(), header.size()))
        return Fail("error: cannot encode image");
    std::vector<BYTE> out(width);
    for (DWORD top = 0; top < height; ++top) {
        PackGreyRow(*this, height - 1 - top, out.data());
        if (!WriteExact(file, out.data(), out.size()))
            return Fail("error: cannot encode image");
    }
    return true;
}
