#include "image/codecs/CRasterGIF.h"
#include "image/codecs/GifLzwEncoder.h"
#include "image/core/CRasterFile.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

constexpr int kTileWidth = 17;
constexpr int kTileHeight = 15;
constexpr BYTE kTrailerByte = 0x3B;

void PutU16(std::vector<BYTE>& out, int v) {
    out.push_back(static_cast<BYTE>(v & 0xFF));
    out.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
}

void PutTable(std::vector<BYTE>& out, const CRaster& image) {
    for (DWORD i = 0; i < image.GetNumColors(); ++i) {
        const RGBQUAD c = image.GetPaletteColor(i);
        out.push_back(c.rgbRed);
        out.push_back(c.rgbGreen);
        out.push_back(c.rgbBlue);
    }
}

// The indices of one storage row at 1, 4 or 8 bits, one byte each.
void UnpackRow(const BYTE* row, std::size_t width, int bpp, BYTE* out) {
    if (bpp == 8) {
        std::copy_n(row, width, out);
    } else if (bpp == 4) {
        for (std::size_t x = 0; x < width; ++x)
            out[x] = (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    } else {
        for (std::size_t x = 0; x < width; ++x)
            out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

// Palette indices of the picture, top row first.
std::vector<BYTE> TopDownIndices(const CRaster& image) {
    const std::size_t w = image.GetWidth();
    const DWORD h = image.GetHeight();
    std::vector<BYTE> px(w * h);
    for (DWORD top = 0; top < h; ++top)
        UnpackRow(image.GetBits(h - 1 - top), w, image.GetBpp(), px.data() + top * w);
    return px;
}

DWORD ColorKey(RGBQUAD c) {
    return static_cast<DWORD>(c.rgbRed) | (static_cast<DWORD>(c.rgbGreen) << 8) |
           (static_cast<DWORD>(c.rgbBlue) << 16);
}

} // namespace

bool CRasterGIF::WriteFailed() {
    return Fail("Write Error in GIF file");
}

bool CRasterGIF::WriteHeader(CRasterFile& file, const CRaster& image) {
    std::vector<BYTE> out{'G', 'I', 'F', '8', '9', 'a'};
    PutU16(out, static_cast<int>(image.GetWidth()));
    PutU16(out, static_cast<int>(image.GetHeight()));
    if (image.IsIndexed()) {
        const int bpp = image.GetBpp();
        out.push_back(static_cast<BYTE>(0x80 | ((bpp - 1) << 5) | (bpp - 1)));
    } else {
        out.push_back(0x11);
    }
    out.push_back(0); // background index
    out.push_back(0); // aspect ratio
    if (image.IsIndexed())
        PutTable(out, image);
    return WriteExact(file, out.data(), out.size()) || WriteFailed();
}

bool CRasterGIF::WriteControl(CRasterFile& file, const CRaster& image, BYTE disposal) {
    const LONG t = image.GetTransparentIndex();
    const BYTE flags = static_cast<BYTE>((t >= 0 ? 1 : 0) | ((disposal & 7) << 2));
    std::vector<BYTE> out{0x21, 0xF9, 0x04, flags};
    PutU16(out, static_cast<int>(image.Info().frameDelay & 0xFFFF));
    out.push_back(static_cast<BYTE>(t & 0xFF));
    out.push_back(0);
    return WriteExact(file, out.data(), out.size()) || WriteFailed();
}

bool CRasterGIF::WriteComment(CRasterFile& file) {
    if (GetComment().empty())
        return true;
    const std::size_t n = std::min<std::size_t>(GetComment().size(), 255);
    std::vector<BYTE> out{0x21, 0xFE, static_cast<BYTE>(n)};
    out.insert(out.end(), GetComment().begin(),
               GetComment().begin() + static_cast<std::ptrdiff_t>(n));
    out.push_back(0);
    return WriteExact(file, out.data(), out.size()) || WriteFailed();
}

bool CRasterGIF::WriteLoop(CRasterFile& file, int repeat) {
    std::array<BYTE, 19> out{0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S', 'C', 'A', 'P',
                             'E',  '2',  '.',  '0', 0x03, 0x01, 0,   0,   0};
    out[16] = static_cast<BYTE>(repeat & 0xFF);
    out[17] = static_cast<BYTE>((repeat >> 8) & 0xFF);
    return WriteExact(file, out.data(), out.size()) || WriteFailed();
}

bool CRasterGIF::WriteBody(CRasterFile& file, const CRaster& image, bool localTable) {
    const int bpp = image.GetBpp();
    std::vector<BYTE> out{0x2C};
    PutU16(out, image.Info().xOffset);
    PutU16(out, image.Info().yOffset);
    PutU16(out, static_cast<int>(image.GetWidth()));
    PutU16(out, static_cast<int>(image.GetHeight()));
    out.push_back(static_cast<BYTE>(localTable ? (0x80 | (bpp - 1)) : 0));
    if (localTable)
        PutTable(out, image);
    const int codeSize = std::max(bpp, 2);
    out.push_back(static_cast<BYTE>(codeSize));
    const auto mode = GifLzwEncoder::ModeFromOption(static_cast<int>(GetCodecOption(kTypeGif)));
    const auto data = GifLzwEncoder::Compress(TopDownIndices(image), codeSize, mode);
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(0);
    return WriteExact(file, out.data(), out.size()) || WriteFailed();
}

bool CRasterGIF::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (GetBpp() > 8)
        return EncodeTrueColor(file);
    if (GetNumFrames() > 1 && GetFrameListSize() > 1) {
        std::vector<CRaster*> frames;
        for (std::size_t i = 0; i < GetFrameListSize(); ++i)
            frames.push_back(GetFrame(i));
        return EncodeAnimated(file, frames, false, false);
    }
    const bool ok = WriteHeader(file, *this) && WriteControl(file, *this, Info().disposal) &&
                    WriteComment(file) && WriteBody(file, *this, false);
    const BYTE trailer = kTrailerByte;
    return ok && ((WriteExact(file, &trailer, 1) && file.Flush()) || WriteFailed());
}

bool CRasterGIF::EncodeTrueColor(CRasterFile& file) {
    // The header of a picture without a global table: its size only.
    std::vector<BYTE> head{'G', 'I', 'F', '8', '9', 'a'};
    PutU16(head, static_cast<int>(GetWidth()));
    PutU16(head, static_cast<int>(GetHeight()));
    head.insert(head.end(), {0x11, 0, 0});
    if (!WriteExact(file, head.data(), head.size()))
        return WriteFailed();
    if (!WriteComment(file))
        return false;
    const bool transparent = IsTransparent();
    const RGBQUAD transparentColor = GetTransparentColor();
    const LONG width = static_cast<LONG>(GetWidth()), height = static_cast<LONG>(GetHeight());
    CRaster tile;
    std::unordered_map<DWORD, BYTE> firstIndex;
    for (LONG top = 0; top < height; top += kTileHeight) {
        const LONG th = std::min<LONG>(kTileHeight, height - top);
        for (LONG left = 0; left < width; left += kTileWidth) {
            const LONG tw = std::min<LONG>(kTileWidth, width - left);
            if (!tile.Create(static_cast<DWORD>(tw), static_cast<DWORD>(th), 8, kTypeGif))
                return Fail(tile.GetLastError());
            std::array<RGBQUAD, 256> palette{};
            if (transparent)
                palette[0] = transparentColor;
            for (LONG y = 0; y < th; ++y) {
                const BYTE* in = GetBits(static_cast<DWORD>(height - 1 - (top + y))) + 3 * left;
                for (LONG x = 0; x < tw; ++x, in += 3)
                    palette[static_cast<std::size_t>(y * kTileWidth + 1 + x)] = {in[0], in[1],
                                                                                 in[2], 0};
            }
            palette[0].rgbReserved = 0;
            tile.SetPalette(palette.data(), 256);
            firstIndex.clear();
            for (int i = 255; i >= 0; --i)
                firstIndex[ColorKey(palette[static_cast<std::size_t>(i)])] = static_cast<BYTE>(i);
            for (LONG y = 0; y < th; ++y) {
                BYTE* out = tile.GetBits(static_cast<DWORD>(th - 1 - y));
                for (LONG x = 0; x < tw; ++x)
                    out[x] = firstIndex[ColorKey(
                        palette[static_cast<std::size_t>(y * kTileWidth + 1 + x)])];
            }
            tile.SetTransparentIndex(transparent ? 0 : -1);
            tile.SetOffset(left, top);
            if (!WriteControl(file, tile, Info().disposal) || !WriteBody(file, tile, true))
                return false;
        }
    }
    const BYTE trailer = kTrailerByte;
    return (WriteExact(file, &trailer, 1) && file.Flush()) || WriteFailed();
}

bool CRasterGIF::EncodeAnimated(CRasterFile& file, std::span<CRaster* const> frames,
                                bool localColorTables, bool localDisposal) {
    if (frames.empty() || frames[0] == nullptr)
        return Fail("multipage GIF, no images!");
    for (const CRaster* f : frames) {
        if (f == nullptr)
            return Fail("Bad image pointer");
        if (!f->IsValid())
            return Fail("Empty image");
        if (!f->IsIndexed())
            return Fail("CRasterGIF::Encode cannot create animated GIFs with a true color frame. "
                        "Use DecreaseBpp before");
    }
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const CRaster& frame = *frames[i];
        const BYTE disposal = localDisposal ? frame.Info().disposal : Info().disposal;
        if (i == 0) {
            if (!WriteHeader(file, frame))
                return false;
            if (GetLoops() != 1 && !WriteLoop(file, std::max(0, GetLoops() - 1)))
                return false;
        }
        if (!WriteControl(file, frame, disposal))
            return false;
        if (i == 0 && !WriteComment(file))
            return false;
        if (!WriteBody(file, frame, i > 0 && localColorTables))
            return false;
    }
    const BYTE trailer = kTrailerByte;
    return (WriteExact(file, &trailer, 1) && file.Flush()) || WriteFailed();
}
