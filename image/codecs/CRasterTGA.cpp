#include "image/codecs/CRasterTGA.h"

#include "image/codecs/BitfieldChannel.h"
#include "image/codecs/TgaHeader.h"
#include "image/core/CRasterFile.h"
#include "image/core/StreamByteReader.h"
#include "platform/LittleEndian.h"

#include <cstring>

namespace {

// 15- and 16-bit pixels: five bits each of red, green and blue.
const BitfieldChannel kRed16(0x7C00);
const BitfieldChannel kGreen16(0x03E0);
const BitfieldChannel kBlue16(0x001F);

unsigned PixelBytes(const TgaHeader& h) {
    return (h.pixelBits + 7u) / 8u;
}

} // namespace

bool CRasterTGA::ReadColorMap(CRasterFile& file, const TgaHeader& h) {
    std::vector<BYTE> map(static_cast<std::size_t>(h.MapBytes()));
    if (!ReadExact(file, map.data(), map.size()))
        return Fail("corrupted TGA");
    if (!h.ColorMapped())
        return true; // true-colour and grey pictures have no use for a map
    const unsigned entry = (h.mapEntryBits + 7u) / 8u;
    for (DWORD i = 0; i < h.mapLength; ++i) {
        const BYTE* e = &map[std::size_t{i} * entry];
        if (entry == 2) {
            const DWORD c = GetLittleEndian<WORD>(e);
            SetPaletteColor(h.mapFirst + i, kRed16.Extract(c), kGreen16.Extract(c),
                            kBlue16.Extract(c));
        } else {
            SetPaletteColor(h.mapFirst + i, e[2], e[1], e[0]);
        }
    }
    return true;
}

bool CRasterTGA::Decode(CRasterFile& file, const DecodeOptions& options) {
    BYTE bytes[TgaHeader::kSize];
    if (!ReadExact(file, bytes, sizeof bytes))
        return Fail("Not a TGA");
    TgaHeader h;
    std::string error;
    if (!TgaHeader::Parse(std::span<const BYTE, TgaHeader::kSize>(bytes), h, error))
        return Fail(error);
    if (!Skip(file, h.idLength) || h.MapBytes() > BytesLeft(file))
        return Fail("corrupted TGA");
    const std::uint64_t estimate =
        PictureBytes(h.width, h.height, h.TargetBpp(), h.pixelBits == 32 || h.GreyAlpha()) +
        std::uint64_t{h.width} * PixelBytes(h) + h.MapBytes();
    if (!HeaderOnly() && !options.Allows(estimate))
        return FailTooLarge("TGA", h.width, h.height, estimate, options);
    // The least data the pixels can take: all of it plain, or one full packet per 128 pixels.
    const std::uint64_t pixels = std::uint64_t(h.width) * h.height;
    const std::uint64_t least =
        h.RunLength() ? (pixels + 127) / 128 * (1 + PixelBytes(h)) : pixels * PixelBytes(h);
    if (least > BytesLeft(file) - h.MapBytes())
        return FailLargerThanData();
    if (HeaderOnly()) {
        SetHeaderOnly(h.width, h.height, h.TargetBpp());
        return true;
    }
    if (!Create(h.width, h.height, h.TargetBpp(), kTypeTga))
        return Fail("TGA Create failed");
    if ((h.pixelBits == 32 || h.GreyAlpha()) && !CreateAlpha())
        return Fail("TGA Create failed");
    if (h.Grey())
        SetGrayPalette();
    return ReadColorMap(file, h) && ReadPixels(file, h);
}

bool CRasterTGA::ReadPixels(CRasterFile& file, const TgaHeader& h) {
    const unsigned pixelBytes = PixelBytes(h);
    std::vector<BYTE> row(std::size_t{h.width} * pixelBytes);
    StreamByteReader in(file);
    Packet packet;
    bool anyAlpha = false;
    for (DWORD n = 0; n < h.height; ++n) {
        if (Cancelled())
            return false;
        const bool ok = h.RunLength() ? ReadPackedRow(in, packet, row.data(), h.width, pixelBytes)
                                      : in.Read(row.data(), row.size());
        if (!ok)
            return Fail("corrupted TGA");
        PlaceRow(h, row.data(), n, anyAlpha);
        SetProgress(n, h.height);
    }
    in.Sync();
    // A file that declares no alpha bits and leaves them all 0 has no transparency.
    if (IsAlphaValid() && !anyAlpha && h.AlphaBits() == 0)
        DeleteAlpha();
    return true;
}

bool CRasterTGA::ReadPackedRow(StreamByteReader& in, Packet& packet, BYTE* row, DWORD width,
                               unsigned pixelBytes) {
    DWORD x = 0;
    while (x < width) {
        if (packet.left == 0) {
            const int head = in.Get();
            if (head < 0)
                return false;
            packet.repeat = (head & 0x80) != 0;
            packet.left = (head & 0x7F) + 1u;
            if (packet.repeat && !in.Read(packet.pixel, pixelBytes))
                return false;
        }
        const DWORD take = std::min<DWORD>(packet.left, width - x);
        if (packet.repeat) {
            for (DWORD i = 0; i < take; ++i)
                std::memcpy(row + (x + i) * pixelBytes, packet.pixel, pixelBytes);
        } else if (!in.Read(row + x * pixelBytes, std::size_t{take} * pixelBytes)) {
            return false;
        }
        x += take;
        packet.left -= take;
    }
    return true;
}

void CRasterTGA::PlaceRow(const TgaHeader& h, const BYTE* in, DWORD fileRow, bool& anyAlpha) {
    const DWORD width = h.width;
    const DWORD y = h.TopFirst() ? h.height - 1 - fileRow : fileRow;
    BYTE* out = GetBits(y);
    BYTE* alpha = IsAlphaValid() ? GetAlphaPointer(0, static_cast<LONG>(y)) : nullptr;
    const unsigned bytes = PixelBytes(h);
    for (DWORD i = 0; i < width; ++i) {
        const DWORD x = h.RightToLeft() ? width - 1 - i : i;
        const BYTE* p = in + std::size_t{i} * bytes;
        switch (bytes) {
        case 1:
            out[x] = p[0];
            break;
        case 2: {
            if (h.GreyAlpha()) {
                out[x] = p[0];
                alpha[x] = p[1];
                anyAlpha |= p[1] != 0;
                break;
            }
            const DWORD c = GetLittleEndian<WORD>(p);
            out[3 * x] = kBlue16.Extract(c);
            out[3 * x + 1] = kGreen16.Extract(c);
            out[3 * x + 2] = kRed16.Extract(c);
            break;
        }
        default:
            std::memcpy(out + 3 * x, p, 3);
            if (alpha != nullptr) {
                alpha[x] = p[3];
                anyAlpha |= p[3] != 0;
            }
        }
    }
}

bool CRasterTGA::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    const WORD bpp = GetBpp();
    if (bpp != 8 && bpp != 24)
        return Fail("Bit depth must be 8 or 24");
    if (GetWidth() > 0xFFFF || GetHeight() > 0xFFFF)
        return Fail("Image too large for TGA");
    // A palette picture with alpha goes out as 32-bit colour and alpha, so its alpha survives
    // in a form every reader knows.
    const bool alpha = IsAlphaValid();
    const bool mapped = bpp == 8 && !alpha;
    TgaHeader h;
    h.colorMapType = mapped ? 1 : 0;
    h.imageType = mapped ? 1 : 2;
    h.mapLength = mapped ? 256 : 0;
    h.mapEntryBits = mapped ? 24 : 0;
    h.width = static_cast<WORD>(GetWidth());
    h.height = static_cast<WORD>(GetHeight());
    h.pixelBits = alpha ? 32 : static_cast<BYTE>(bpp);
    h.descriptor = alpha ? 8 : 0; // eight bits of alpha in every pixel
    BYTE header[TgaHeader::kSize];
    h.Write(header);
    std::vector<BYTE> out(header, header + sizeof header);
    for (DWORD i = 0; i < h.mapLength; ++i) {
        const RGBQUAD c = GetPaletteColor(i);
        out.insert(out.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed});
    }
    if (!WriteExact(file, out.data(), out.size()))
        return Fail("Error writing TGA file");
    const DWORD width = GetWidth();
    std::vector<BYTE> row(std::size_t{width} * (h.pixelBits / 8));
    for (DWORD y = 0; y < GetHeight(); ++y) {
        const BYTE* in = GetBits(y);
        if (alpha) {
            const BYTE* a = GetAlphaPointer(0, static_cast<LONG>(y));
            for (DWORD x = 0; x < width; ++x) {
                const RGBQUAD c =
                    BlindGetPixelColor(static_cast<LONG>(x), static_cast<LONG>(y), false);
                row[4 * x] = c.rgbBlue;
                row[4 * x + 1] = c.rgbGreen;
                row[4 * x + 2] = c.rgbRed;
                row[4 * x + 3] = a[x];
            }
        } else {
            std::memcpy(row.data(), in, row.size());
        }
        if (!WriteExact(file, row.data(), row.size()))
            return Fail("Error writing TGA file");
    }
    return true;
}
