#include "image/codecs/CRasterPNM.h"

#include "image/core/CRasterFile.h"
#include "image/core/RowPack.h"
#include "image/core/SampleScale.h"
#include "image/core/StreamByteReader.h"
#include "platform/TextFormat.h"

#include <vector>

namespace {

constexpr const char* kCorrupted = "corrupted PNM";

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Skips white space and comments; the first other byte, or -1 at the end.
int NextToken(StreamByteReader& in) {
    int c = in.Get();
    while (c >= 0) {
        if (c == '#') {
            while (c >= 0 && c != '\n' && c != '\r')
                c = in.Get();
        } else if (!IsSpace(c)) {
            return c;
        } else {
            c = in.Get();
        }
    }
    return -1;
}

// A decimal number that starts with `c`; false when there is none or it passes 2^32 - 1.
// The byte after the number is taken too, which the binary formats' single separator wants.
bool ReadNumber(StreamByteReader& in, int c, DWORD& value) {
    if (c < '0' || c > '9')
        return false;
    std::uint64_t v = 0;
    while (c >= '0' && c <= '9') {
        v = v * 10 + std::uint64_t(c - '0');
        if (v > 0xFFFFFFFFu)
            return false;
        c = in.Get();
    }
    if (c >= 0 && !IsSpace(c))
        return false;
    value = static_cast<DWORD>(v);
    return true;
}

bool NextNumber(StreamByteReader& in, DWORD& value) {
    return ReadNumber(in, NextToken(in), value);
}

void SetBit(BYTE* row, DWORD x, bool on) {
    const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
    if (on)
        row[x >> 3] |= bit;
    else
        row[x >> 3] &= static_cast<BYTE>(~bit);
}

} // namespace

bool CRasterPNM::ReadHeader(StreamByteReader& in, Header& h) {
    if (in.Get() != 'P')
        return Fail(kCorrupted);
    h.kind = in.Get() - '0';
    if (h.kind < 1 || h.kind > 6)
        return Fail(kCorrupted);
    if (!NextNumber(in, h.width) || !NextNumber(in, h.height))
        return Fail(kCorrupted);
    if (!h.Bitmap() && !NextNumber(in, h.maxValue))
        return Fail(kCorrupted);
    if (h.width == 0 || h.height == 0 || h.maxValue == 0 || h.maxValue > 0xFFFF)
        return Fail(kCorrupted);
    return true;
}

bool CRasterPNM::Decode(CRasterFile& file, const DecodeOptions& options) {
    const std::uint64_t available = BytesLeft(file);
    StreamByteReader in(file);
    Header h;
    if (!ReadHeader(in, h))
        return false;
    const std::uint64_t left = available > in.Consumed() ? available - in.Consumed() : 0;
    const std::uint64_t samples = std::uint64_t{h.width} * h.height * h.Channels();
    std::uint64_t needed = samples; // a plain file spends at least a byte a sample
    if (h.kind == 4)
        needed = (std::uint64_t{h.width} + 7) / 8 * h.height;
    else if (!h.Plain() && h.maxValue > 255)
        needed = samples * 2;
    else if (h.Plain())
        needed = samples - 1; // the last sample needs no separator
    const DWORD bpp = h.Bitmap() ? 1 : h.Channels() == 3 ? 24 : 8;
    // The picture and two rows of samples.
    const std::uint64_t estimate =
        PictureBytes(h.width, h.height, bpp) + 3 * std::uint64_t{h.width} * h.Channels();
    if (!HeaderOnly() && !options.Allows(estimate))
        return FailTooLarge("PNM", h.width, h.height, estimate, options);
    if (needed > left)
        return Fail(kCorrupted);
    Info().numFrames = 1;
    if (HeaderOnly()) {
        SetHeaderOnly(h.width, h.height, bpp);
        return true;
    }
    if (!Create(h.width, h.height, bpp, kTypePnm))
        return false;
    SetGrayPalette();
    return ReadRows(in, h);
}

bool CRasterPNM::ReadRows(StreamByteReader& in, const Header& h) {
    const SampleScale scale = SampleScale::ForMaximum(h.maxValue);
    const DWORD perRow = h.width * h.Channels();
    const std::size_t sampleBytes = h.maxValue > 255 ? 2 : 1;
    std::vector<BYTE> raw(h.kind == 4 ? (std::size_t{h.width} + 7) / 8 : perRow * sampleBytes);
    std::vector<BYTE> values(perRow);
    for (DWORD top = 0; top < h.height; ++top) {
        if (Cancelled())
            return false;
        BYTE* row = GetBits(h.height - 1 - top);
        if (h.kind == 4) {
            if (!in.Read(raw.data(), raw.size()))
                return Fail(kCorrupted);
            // A set bit is black, the picture's index 0.
            for (std::size_t i = 0; i < raw.size(); ++i)
                row[i] = static_cast<BYTE>(~raw[i]);
        } else if (h.kind == 1) {
            for (DWORD x = 0; x < h.width; ++x) {
                const int c = NextToken(in);
                if (c != '0' && c != '1')
                    return Fail(kCorrupted);
                SetBit(row, x, c == '0');
            }
        } else {
            if (h.Plain()) {
                for (DWORD i = 0; i < perRow; ++i) {
                    DWORD v = 0;
                    if (!NextNumber(in, v))
                        return Fail(kCorrupted);
                    values[i] = scale(v);
                }
            } else {
                if (!in.Read(raw.data(), raw.size()))
                    return Fail(kCorrupted);
                for (DWORD i = 0; i < perRow; ++i)
                    values[i] =
                        scale(sampleBytes == 2 ? (raw[2 * i] << 8) | raw[2 * i + 1] : raw[i]);
            }
            if (h.Channels() == 1) {
                std::copy(values.begin(), values.end(), row);
            } else {
                for (DWORD x = 0; x < h.width; ++x) {
                    row[3 * x] = values[3 * x + 2];
                    row[3 * x + 1] = values[3 * x + 1];
                    row[3 * x + 2] = values[3 * x];
                }
            }
        }
        SetProgress(top, h.height);
    }
    return true;
}

bool CRasterPNM::Encode(CRasterFile& file) {
    const bool colour = GetBpp() == 24;
    const DWORD width = GetWidth(), height = GetHeight();
    const std::string header = Format("P%c\n%u %u\n255\n", colour ? '6' : '5', width, height);
    if (!WriteExact(file, header.data(), header.size()))
        return Fail("error: cannot encode image");
    std::vector<BYTE> out(std::size_t{width} * (colour ? 3 : 1));
    for (DWORD top = 0; top < height; ++top) {
        if (colour)
            PackRgbRow(*this, height - 1 - top, out.data());
        else
            PackGreyRow(*this, height - 1 - top, out.data());
        if (!WriteExact(file, out.data(), out.size()))
            return Fail("error: cannot encode image");
    }
    return true;
}
