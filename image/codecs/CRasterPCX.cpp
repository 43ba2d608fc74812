#include "image/codecs/CRasterPCX.h"

#include "image/codecs/PcxHeader.h"
#include "image/codecs/PcxRleDecoder.h"
#include "image/codecs/PcxRleEncoder.h"
#include "image/core/CRasterFile.h"
#include "image/core/StreamByteReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kPaletteSignature = 12;
constexpr std::size_t kPaletteBytes = 768;

BYTE BitAt(const BYTE* line, DWORD x) {
    return (line[x >> 3] >> (7 - (x & 7))) & 1;
}

} // namespace

bool CRasterPCX::Decode(CRasterFile& file, const DecodeOptions& options) {
    BYTE bytes[PcxHeader::kSize];
    if (!ReadExact(file, bytes, sizeof bytes))
        return Fail("Can't read PCX image");
    PcxHeader h;
    std::string error;
    if (!PcxHeader::Parse(std::span<const BYTE, PcxHeader::kSize>(bytes), h, error))
        return Fail(error);
    const bool alpha = h.planes == 4 && h.bitsPerPixel == 8;
    const std::uint64_t estimate =
        PictureBytes(h.Width(), h.Height(), h.TargetBpp(), alpha) + h.LineBytes();
    if (!HeaderOnly() && !options.Allows(estimate))
        return FailTooLarge("PCX", h.Width(), h.Height(), estimate, options);
    // Every two bytes of packed data give at most 63 bytes of picture.
    const std::uint64_t total = h.LineBytes() * h.Height();
    if ((total + 62) / 63 * 2 > BytesLeft(file))
        return FailLargerThanData();
    if (HeaderOnly()) {
        SetHeaderOnly(h.Width(), h.Height(), h.TargetBpp());
        return true;
    }
    if (!Create(h.Width(), h.Height(), h.TargetBpp(), kTypePcx))
        return false;
    SetXDpi(h.hDpi);
    SetYDpi(h.vDpi);
    if (h.planes == 4 && h.bitsPerPixel == 8 && !CreateAlpha())
        return Fail("corrupted PCX");
    return ReadLines(file, h) && ReadPalette(file, h);
}

bool CRasterPCX::ReadLines(CRasterFile& file, const PcxHeader& h) {
    const DWORD height = GetHeight();
    std::vector<BYTE> line(static_cast<std::size_t>(h.LineBytes()));
    StreamByteReader in(file);
    PcxRleDecoder rle(h.LineBytes() * height);
    for (DWORD top = 0; top < height; ++top) {
        if (Cancelled())
            return false;
        switch (rle.Decode(in, line.data(), line.size())) {
        case PcxRleDecoder::Result::EndOfData:
            return Fail("corrupted PCX");
        case PcxRleDecoder::Result::RunPastImage:
            return Fail("repeat count spans end of image");
        case PcxRleDecoder::Result::Ok:
            break;
        }
        PlaceLine(h, line.data(), height - 1 - top);
        SetProgress(top, height);
    }
    in.Sync();
    return true;
}

void CRasterPCX::PlaceLine(const PcxHeader& h, const BYTE* line, DWORD y) {
    BYTE* out = GetBits(y);
    const DWORD width = GetWidth();
    const std::size_t plane = h.bytesPerLine;
    if (h.bitsPerPixel == 8 && h.planes >= 3) {
        BYTE* alpha = h.planes == 4 ? GetAlphaPointer(0, static_cast<LONG>(y)) : nullptr;
        for (DWORD x = 0; x < width; ++x) {
            out[3 * x + 2] = line[x];
            out[3 * x + 1] = line[plane + x];
            out[3 * x] = line[2 * plane + x];
            if (alpha != nullptr)
                alpha[x] = line[3 * plane + x];
        }
    } else if (h.planes > 1) { // one bit in each plane: plane i gives bit i of the index
        for (DWORD x = 0; x < width; ++x) {
            BYTE index = 0;
            for (int i = 0; i < h.planes; ++i)
                index |= static_cast<BYTE>(BitAt(line + i * plane, x) << i);
            SetPixelIndex(static_cast<LONG>(x), static_cast<LONG>(y), index);
        }
    } else if (h.bitsPerPixel == 2) {
        for (DWORD x = 0; x < width; ++x)
            SetPixelIndex(static_cast<LONG>(x), static_cast<LONG>(y),
                          (line[x >> 2] >> (6 - 2 * (x & 3))) & 3);
    } else { // 1, 4 and 8 bits pack like the picture's own rows
        std::memcpy(out, line, (std::size_t{width} * h.bitsPerPixel + 7) / 8);
    }
}

bool CRasterPCX::ReadPalette(CRasterFile& file, const PcxHeader& h) {
    if (h.bitsPerPixel == 8 && h.planes == 1) {
        // The map follows the pixel data; some writers leave bytes between, so the last 769
        // bytes of the file are the second place to look.
        const LONG after = file.Tell();
        if (file.GetC() != kPaletteSignature || BytesLeft(file) < kPaletteBytes) {
            const LONG size = file.Size();
            if (size < after + LONG(kPaletteBytes + 1) ||
                !file.Seek(size - LONG(kPaletteBytes + 1), 0) || file.GetC() != kPaletteSignature)
                return Fail("bad color map signature");
        }
        BYTE map[kPaletteBytes];
        if (!ReadExact(file, map, sizeof map))
            return Fail("bad color map signature");
        SetPaletteTriples(map, 256);
        return true;
    }
    if (h.bitsPerPixel == 1 && h.planes == 1) {
        SetPaletteColor(0, 0, 0, 0);
        SetPaletteColor(1, 255, 255, 255);
        return true;
    }
    if (IsIndexed())
        SetPaletteTriples(h.palette, std::min<DWORD>(16, GetNumColors()));
    return true;
}

int CRasterPCX::PlaneCount() const {
    switch (GetBpp()) {
    case 24:
        return IsAlphaValid() ? 4 : 3;
    case 4:
        return 4;
    default:
        return 1;
    }
}

bool CRasterPCX::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (GetWidth() > 0xFFFF || GetHeight() > 0xFFFF)
        return Fail("Image too large for PCX");
    const WORD bpp = GetBpp();
    PcxHeader h;
    h.bitsPerPixel = bpp >= 8 ? 8 : 1;
    h.xMax = static_cast<WORD>(GetWidth() - 1);
    h.yMax = static_cast<WORD>(GetHeight() - 1);
    h.hDpi = static_cast<WORD>(std::clamp<LONG>(GetXDpi(), 0, 0xFFFF));
    h.vDpi = static_cast<WORD>(std::clamp<LONG>(GetYDpi(), 0, 0xFFFF));
    h.planes = static_cast<BYTE>(PlaneCount());
    // Lines have an even length; the padding is part of every plane's line.
    const std::size_t used = h.bitsPerPixel == 8 ? GetWidth() : (GetWidth() + 7) / 8;
    h.bytesPerLine = static_cast<WORD>(used + (used & 1));
    h.paletteInfo = IsIndexed() ? 0 : 1;
    bool invert = false;
    if (bpp == 1) {
        const BYTE bw[6] = {0, 0, 0, 255, 255, 255};
        std::memcpy(h.palette, bw, sizeof bw);
        // The header palette is black then white; a picture held the other way round is
        // written with its indices inverted.
        invert = CompareLuminance(GetPaletteColor(0), GetPaletteColor(1)) > 0;
    } else if (bpp == 4) {
        for (DWORD i = 0; i < 16; ++i) {
            const RGBQUAD c = GetPaletteColor(i);
            h.palette[3 * i] = c.rgbRed;
            h.palette[3 * i + 1] = c.rgbGreen;
            h.palette[3 * i + 2] = c.rgbBlue;
        }
    }
    BYTE header[PcxHeader::kSize];
    h.Write(header);
    if (!WriteExact(file, header, sizeof header))
        return Fail("cannot write PCX header");

    std::vector<BYTE> data;
    std::vector<BYTE> lines;
    for (DWORD top = 0; top < GetHeight(); ++top) {
        BuildLines(GetHeight() - 1 - top, h.bytesPerLine, invert, lines);
        for (int p = 0; p < h.planes; ++p)
            PcxRleEncoder::EncodeLine(lines.data() + static_cast<std::size_t>(p) * h.bytesPerLine,
                                      h.bytesPerLine, data);
    }
    if (bpp == 8) {
        data.push_back(kPaletteSignature);
        for (DWORD i = 0; i < 256; ++i) {
            const RGBQUAD c = GetPaletteColor(i);
            data.insert(data.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    }
    return WriteExact(file, data.data(), data.size()) || Fail("Error writing PCX file");
}

void CRasterPCX::BuildLines(DWORD y, std::size_t bytesPerLine, bool invert,
                            std::vector<BYTE>& out) {
    const int planes = PlaneCount();
    out.assign(bytesPerLine * planes, 0);
    const BYTE* in = GetBits(y);
    const DWORD width = GetWidth();
    switch (GetBpp()) {
    case 24: {
        const BYTE* alpha = planes == 4 ? GetAlphaPointer(0, static_cast<LONG>(y)) : nullptr;
        for (DWORD x = 0; x < width; ++x) {
            out[x] = in[3 * x + 2];
            out[bytesPerLine + x] = in[3 * x + 1];
            out[2 * bytesPerLine + x] = in[3 * x];
            if (alpha != nullptr)
                out[3 * bytesPerLine + x] = alpha[x];
        }
        break;
    }
    case 8:
        std::memcpy(out.data(), in, width);
        break;
    case 4:
        for (DWORD x = 0; x < width; ++x) {
            const BYTE index = (x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
            for (int p = 0; p < 4; ++p)
                if (index & (1 << p))
                    out[p * bytesPerLine + (x >> 3)] |= static_cast<BYTE>(0x80 >> (x & 7));
        }
        break;
    default: { // 1 bit
        const std::size_t used = (width + 7) / 8;
        for (std::size_t i = 0; i < used; ++i)
            out[i] = invert ? static_cast<BYTE>(~in[i]) : in[i];
        if (width % 8 != 0)
            out[used - 1] &= static_cast<BYTE>(0xFF << (8 - width % 8));
    }
    }
}
