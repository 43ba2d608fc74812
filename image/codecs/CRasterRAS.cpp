#include "image/codecs/CRasterRAS.h"

#include "image/core/CRasterFile.h"
#include "image/core/RowPack.h"
#include "image/core/StreamByteReader.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr DWORD kMagic = 0x59A66A95;
constexpr std::size_t kHeaderBytes = 32;
constexpr DWORD kTypeStandard = 1, kTypeRle = 2, kTypeRgb = 3;
constexpr DWORD kMapNone = 0, kMapRgb = 1, kMapRaw = 2;
constexpr BYTE kEscape = 0x80;
constexpr const char* kCorrupted = "corrupted Sun raster";

DWORD GetBE32(const BYTE* p) {
    return DWORD(p[0]) << 24 | DWORD(p[1]) << 16 | DWORD(p[2]) << 8 | p[3];
}

void PutBE32(BYTE* p, DWORD v) {
    p[0] = BYTE(v >> 24);
    p[1] = BYTE(v >> 16);
    p[2] = BYTE(v >> 8);
    p[3] = BYTE(v);
}

// Undoes the byte encoding: 0x80 0 is one 0x80, 0x80 n v is n + 1 bytes v.
class RleReader {
public:
    explicit RleReader(StreamByteReader& in) : in_(in) {}

    bool Read(BYTE* out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            if (run_ == 0 && !NextRun())
                return false;
            out[i] = value_;
            --run_;
        }
        return true;
    }

private:
    bool NextRun() {
        const int c = in_.Get();
        if (c < 0)
            return false;
        run_ = 1;
        value_ = BYTE(c);
        if (c != kEscape)
            return true;
        const int n = in_.Get();
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        const int v = in_.Get();
        if (v < 0)
            return false;
        run_ = std::size_t(n) + 1;
        value_ = BYTE(v);
        return true;
    }

    StreamByteReader& in_;
    std::size_t run_ = 0;
    BYTE value_ = 0;
};

} // namespace

bool CRasterRAS::Decode(CRasterFile& file, const DecodeOptions& options) {
    BYTE bytes[kHeaderBytes];
    if (!ReadExact(file, bytes, sizeof bytes) || GetBE32(bytes) != kMagic)
        return Fail(kCorrupted);
    Header h;
    h.width = GetBE32(bytes + 4);
    h.height = GetBE32(bytes + 8);
    h.depth = GetBE32(bytes + 12);
    h.length = GetBE32(bytes + 16);
    h.type = GetBE32(bytes + 20);
    h.mapType = GetBE32(bytes + 24);
    h.mapLength = GetBE32(bytes + 28);
    const DWORD bpp = h.depth == 32 ? 24 : h.depth;
    if (!HeaderOnly() && h.width != 0 && h.height != 0 && (bpp == 1 || bpp == 8 || bpp == 24)) {
        const std::uint64_t estimate =
            PictureBytes(h.width, h.height, bpp) + h.RowBytes() + h.mapLength;
        if (!options.Allows(estimate))
            return FailTooLarge("Sun raster", h.width, h.height, estimate, options);
    }
    if (!CheckHeader(h, BytesLeft(file)))
        return false;
    Info().numFrames = 1;
    if (HeaderOnly()) {
        SetHeaderOnly(h.width, h.height, bpp);
        return true;
    }
    if (!Create(h.width, h.height, bpp, kTypeRas))
        return false;
    if (bpp == 1) {
        // Without a map a set bit is black.
        SetPaletteColor(0, 255, 255, 255);
        SetPaletteColor(1, 0, 0, 0);
    } else {
        SetGrayPalette();
    }
    return ReadColourMap(file, h) && ReadRows(file, h);
}

bool CRasterRAS::CheckHeader(const Header& h, std::uint64_t left) {
    if (h.width == 0 || h.height == 0 || h.type > kTypeRgb || h.mapType > kMapRaw)
        return Fail(kCorrupted);
    if (h.depth != 1 && h.depth != 8 && h.depth != 24 && h.depth != 32)
        return Fail("unsupported Sun raster depth");
    if (h.mapType == kMapRgb && h.mapLength % 3 != 0)
        return Fail(kCorrupted);
    if (h.mapLength > left)
        return Fail(kCorrupted);
    left -= h.mapLength;
    const std::uint64_t pixels = h.RowBytes() * h.height;
    // Three encoded bytes give at most 256 bytes of picture.
    const std::uint64_t needed = h.type == kTypeRle ? (pixels + 255) / 256 * 3 : pixels;
    if (needed > left)
        return Fail(kCorrupted);
    return true;
}

bool CRasterRAS::ReadColourMap(CRasterFile& file, const Header& h) {
    if (h.mapType != kMapRgb || h.depth > 8 || h.mapLength == 0)
        return Skip(file, h.mapLength) || Fail(kCorrupted);
    std::vector<BYTE> map(h.mapLength);
    if (!ReadExact(file, map.data(), map.size()))
        return Fail(kCorrupted);
    const DWORD entries = h.mapLength / 3;
    const DWORD used = std::min(entries, GetNumColors());
    for (DWORD i = 0; i < used; ++i)
        SetPaletteColor(i, map[i], map[entries + i], map[2 * entries + i]);
    return true;
}

bool CRasterRAS::ReadRows(CRasterFile& file, const Header& h) {
    StreamByteReader in(file);
    RleReader rle(in);
    std::vector<BYTE> raw(static_cast<std::size_t>(h.RowBytes()));
    for (DWORD top = 0; top < h.height; ++top) {
        if (Cancelled())
            return false;
        const bool ok =
            h.type == kTypeRle ? rle.Read(raw.data(), raw.size()) : in.Read(raw.data(), raw.size());
        if (!ok)
            return Fail(kCorrupted);
        PlaceRow(h, raw.data(), h.height - 1 - top);
        SetProgress(top, h.height);
    }
    in.Sync();
    return true;
}

void CRasterRAS::PlaceRow(const Header& h, const BYTE* raw, DWORD storageRow) {
    BYTE* row = GetBits(storageRow);
    if (h.depth <= 8) {
        std::copy(raw, raw + (std::size_t{h.width} * h.depth + 7) / 8, row);
        return;
    }
    // Pixels are blue, green, red, or red, green, blue in RGB files; 32-bit ones lead with a
    // pad byte.
    const std::size_t step = h.depth / 8;
    const std::size_t skip = step - 3;
    const bool rgb = h.type == kTypeRgb;
    for (DWORD x = 0; x < h.width; ++x, row += 3) {
        const BYTE* p = raw + x * step + skip;
        row[0] = rgb ? p[2] : p[0];
        row[1] = p[1];
        row[2] = rgb ? p[0] : p[2];
    }
}

bool CRasterRAS::Encode(CRasterFile& file) {
    Header h;
    h.width = GetWidth();
    h.height = GetHeight();
    h.depth = GetBpp() == 24 ? 24 : 8;
    const std::uint64_t length = h.RowBytes() * h.height;
    BYTE bytes[kHeaderBytes];
    PutBE32(bytes, kMagic);
    PutBE32(bytes + 4, h.width);
    PutBE32(bytes + 8, h.height);
    PutBE32(bytes + 12, h.depth);
    PutBE32(bytes + 16, length > 0xFFFFFFFFu ? 0 : DWORD(length));
    PutBE32(bytes + 20, kTypeStandard);
    PutBE32(bytes + 24, kMapNone);
    PutBE32(bytes + 28, 0);
    if (!WriteExact(file, bytes, sizeof bytes))
        return Fail("error: cannot encode image");
    std::vector<BYTE> out(static_cast<std::size_t>(h.RowBytes()), 0);
    for (DWORD top = 0; top < h.height; ++top) {
        const DWORD y = h.height - 1 - top;
        if (h.depth == 24) {
            PackRgbRow(*this, y, out.data());
            for (DWORD x = 0; x < h.width; ++x)
                std::swap(out[3 * x], out[3 * x + 2]);
        } else {
            PackGreyRow(*this, y, out.data());
        }
        if (!WriteExact(file, out.data(), out.size()))
            return Fail("error: cannot encode image");
    }
    return true;
}
