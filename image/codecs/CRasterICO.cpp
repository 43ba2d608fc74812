#include "image/codecs/CRasterICO.h"

#include "image/codecs/BmpInfoHeader.h"
#include "image/codecs/CRasterPNG.h"
#include "image/codecs/IcoDirectory.h"
#include "image/core/CRasterFile.h"
#include "image/core/CRasterMemFile.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

DWORD MaskRowBytes(DWORD width) {
    return (width + 31) / 32 * 4;
}

bool MaskBit(const std::vector<BYTE>& mask, DWORD rowBytes, DWORD x, DWORD y) {
    return (mask[std::size_t{y} * rowBytes + (x >> 3)] >> (7 - (x & 7))) & 1;
}

DWORD ColorKey(const RGBQUAD& c) {
    return (DWORD{c.rgbRed} << 16) | (DWORD{c.rgbGreen} << 8) | c.rgbBlue;
}

} // namespace

// One pass over the picture and its AND mask: which palette indices the pixels use, and
// whether all masked pixels share one index (palette pictures) or one colour.
struct CRasterICO::MaskScan {
    MaskScan(CRaster& image, const std::vector<BYTE>& mask)
        : image(image), mask(mask), rowBytes(MaskRowBytes(image.GetWidth())) {
        for (DWORD y = 0; y < image.GetHeight(); ++y)
            for (DWORD x = 0; x < image.GetWidth(); ++x)
                Visit(static_cast<LONG>(x), static_cast<LONG>(y));
    }

    bool Masked(LONG x, LONG y) const {
        return !mask.empty() && MaskBit(mask, rowBytes, DWORD(x), DWORD(y));
    }
    DWORD KeyOf(LONG x, LONG y) const {
        return image.IsIndexed() ? image.BlindGetPixelIndex(x, y)
                                 : ColorKey(image.BlindGetPixelColor(x, y, false));
    }
    void Visit(LONG x, LONG y) {
        if (image.IsIndexed())
            used[image.BlindGetPixelIndex(x, y)] = true;
        if (!Masked(x, y)) {
            allMasked = false;
            return;
        }
        const DWORD k = KeyOf(x, y);
        if (anyMasked && k != key)
            oneKey = false;
        if (!anyMasked) {
            key = k;
            keyColor = image.BlindGetPixelColor(x, y, false);
        }
        anyMasked = true;
    }
    // The highest palette index no pixel uses, or -1.
    LONG UnusedIndex(DWORD colors) const {
        for (LONG i = static_cast<LONG>(colors) - 1; i >= 0; --i)
            if (!used[i])
                return i;
        return -1;
    }
    bool KeyOutsideMask() const {
        for (DWORD y = 0; y < image.GetHeight(); ++y)
            for (DWORD x = 0; x < image.GetWidth(); ++x)
                if (!Masked(LONG(x), LONG(y)) && KeyOf(LONG(x), LONG(y)) == key)
                    return true;
        return false;
    }
    template <class F> void ForMasked(F f) const {
        for (DWORD y = 0; y < image.GetHeight(); ++y)
            for (DWORD x = 0; x < image.GetWidth(); ++x)
                if (Masked(LONG(x), LONG(y)))
                    f(LONG(x), LONG(y));
    }

    CRaster& image;
    const std::vector<BYTE>& mask;
    DWORD rowBytes;
    std::array<bool, 256> used{};
    bool anyMasked = false;
    bool allMasked = true;
    bool oneKey = true;
    DWORD key = 0;
    RGBQUAD keyColor{};
};

bool CRasterICO::Decode(CRasterFile& file, const DecodeOptions& options) {
    const LONG start = file.Tell();
    BYTE head[IcoDirectory::kHeaderSize];
    if (!ReadExact(file, head, sizeof head))
        return Fail("Not an icon file");
    const int count = IcoDirectory::ParseHeader(std::span<const BYTE, 6>(head));
    if (count < 0)
        return Fail("Not an icon file");
    Info().numFrames = count;
    std::vector<BYTE> entries(std::size_t(count) * IcoEntry::kSize);
    if (entries.size() > BytesLeft(file) || !ReadExact(file, entries.data(), entries.size()))
        return Fail("Corrupted icon file");
    const LONG page = Info().frame;
    if (page < 0 || page >= count)
        return Fail("Icon page not found");
    const IcoEntry entry = IcoEntry::Load(&entries[std::size_t(page) * IcoEntry::kSize]);
    const std::uint64_t offset = std::uint64_t(start) + entry.offset;
    if (offset + 8 > std::uint64_t(file.Size()) || !file.Seek(static_cast<LONG>(offset), 0))
        return Fail("Corrupted icon file");
    BYTE signature[8];
    if (!ReadExact(file, signature, sizeof signature))
        return Fail("Corrupted icon file");
    if (std::memcmp(signature, kPngSignature, sizeof signature) == 0)
        return DecodePng(file, static_cast<LONG>(offset));
    if (HeaderOnly()) {
        SetHeaderOnly(entry.width, entry.height, entry.bitCount);
        return true;
    }
    file.Seek(static_cast<LONG>(offset), 0);
    return DecodeBitmap(file, options);
}

bool CRasterICO::DecodePng(CRasterFile& file, LONG offset) {
    file.Seek(offset, 0);
    CRasterPNG png;
    png.CopyInfoFrom(*this);
    if (!png.Decode(file, Info().decode))
        return Fail(png.GetLastError());
    const LONG frames = Info().numFrames;
    if (HeaderOnly()) {
        SetHeaderOnly(png.GetWidth(), png.GetHeight(), png.GetBpp());
        return true;
    }
    if (!TakeOver(png, true))
        return false;
    SetType(kTypeIco);
    Info().numFrames = frames;
    return true;
}

bool CRasterICO::DecodeBitmap(CRasterFile& file, const DecodeOptions& options) {
    BYTE sizeField[4];
    if (!ReadExact(file, sizeField, 4))
        return Fail("Corrupted icon file");
    const DWORD size = GetLittleEndian<DWORD>(sizeField);
    if (size < BmpInfoHeader::kInfoSize || size > BmpInfoHeader::kMaxSize ||
        size - 4 > BytesLeft(file))
        return Fail("Corrupted icon file");
    std::vector<BYTE> bytes(size);
    std::memcpy(bytes.data(), sizeField, 4);
    BmpInfoHeader h;
    std::string error;
    if (!ReadExact(file, bytes.data() + 4, size - 4) || !BmpInfoHeader::Parse(bytes, h, error))
        return Fail(error.empty() ? "Corrupted icon file" : error);
    // The stored height covers the colour rows and the AND mask.
    const DWORD height = h.Height() / 2;
    if (height == 0 || h.bitCount == 16 || h.compression != BmpInfoHeader::kRgb || h.TopDown())
        return Fail("Unsupported icon format");
    // The picture, its alpha plane and the AND mask.
    const std::uint64_t estimate =
        PictureBytes(h.width, height, h.bitCount > 8 ? 24 : h.bitCount, true) +
        std::uint64_t{MaskRowBytes(h.width)} * height;
    if (!options.Allows(estimate))
        return FailTooLarge("Icon", h.width, height, estimate, options);
    // The colour rows must be present before any memory is spent on them.
    if (h.RowBytes() * height > BytesLeft(file))
        return Fail("Corrupted icon file");
    if (!Create(h.width, height, h.bitCount, kTypeIco))
        return false;
    if (!ReadIconPixels(file, h))
        return false;
    const std::size_t maskBytes = std::size_t{MaskRowBytes(GetWidth())} * height;
    std::vector<BYTE> mask(std::min<std::uint64_t>(maskBytes, BytesLeft(file)));
    if (!ReadExact(file, mask.data(), mask.size()))
        mask.clear();
    if (mask.size() < maskBytes)
        mask.clear(); // a cut-off mask counts as none
    ApplyMask(mask);
    return true;
}

bool CRasterICO::ReadIconPixels(CRasterFile& file, const BmpInfoHeader& h) {
    if (h.bitCount <= 8) {
        const std::uint64_t colors = h.FileColors();
        const std::uint64_t used = std::min<std::uint64_t>(colors, GetNumColors());
        if (colors * 4 > BytesLeft(file))
            return Fail("Corrupted icon file");
        std::vector<BYTE> palette(colors * 4);
        if (!ReadExact(file, palette.data(), palette.size()))
            return Fail("Corrupted icon file");
        for (DWORD i = 0; i < used; ++i)
            SetPaletteColor(i, palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]);
    }
    const DWORD width = GetWidth();
    const DWORD height = GetHeight();
    if (h.bitCount != 32) {
        const std::size_t bytes = std::size_t{GetStride()} * height;
        return ReadExact(file, GetBits(0), bytes) || Fail("Corrupted icon file");
    }
    if (!CreateAlpha())
        return Fail("CRaster::Create can't allocate memory");
    std::vector<BYTE> row(std::size_t{width} * 4);
    for (DWORD y = 0; y < height; ++y) {
        if (Cancelled())
            return false;
        if (!ReadExact(file, row.data(), row.size()))
            return Fail("Corrupted icon file");
        BYTE* out = GetBits(y);
        BYTE* alpha = GetAlphaPointer(0, static_cast<LONG>(y));
        for (DWORD x = 0; x < width; ++x) {
            std::memcpy(out + 3 * x, &row[4 * x], 3);
            alpha[x] = row[4 * x + 3];
        }
    }
    return true;
}

void CRasterICO::InvertColors() {
    if (IsIndexed()) {
        for (DWORD i = 0; i < GetNumColors(); ++i) {
            const RGBQUAD c = GetPaletteColor(i);
            SetPaletteColor(i, 255 - c.rgbRed, 255 - c.rgbGreen, 255 - c.rgbBlue);
        }
        return;
    }
    for (DWORD y = 0; y < GetHeight(); ++y) {
        BYTE* row = GetBits(y);
        for (DWORD i = 0; i < GetWidth() * 3; ++i)
            row[i] = static_cast<BYTE>(~row[i]);
    }
}

// Turns the AND mask into transparency: a palette index no pixel uses, or a colour only the
// masked pixels have, becomes the transparent one; otherwise the masked pixels get alpha 0.
void CRasterICO::ApplyMask(const std::vector<BYTE>& mask) {
    const bool hadAlpha = IsAlphaValid();
    MaskScan scan(*this, mask);
    // No mask, or every pixel masked: the colours only invert the screen behind them.
    if ((mask.empty() || scan.allMasked) && !hadAlpha) {
        SetTransparentIndex(0);
        InvertColors();
        return;
    }
    if (!scan.anyMasked)
        return;
    if (!hadAlpha) {
        const LONG spare = scan.UnusedIndex(GetNumColors());
        if (spare >= 0) {
            scan.ForMasked([&](LONG x, LONG y) { BlindSetPixelIndex(x, y, BYTE(spare)); });
            SetTransparentIndex(spare);
            return;
        }
        if (scan.oneKey && !scan.KeyOutsideMask()) {
            SetTransparentColor(scan.keyColor);
            SetTransparentIndex(IsIndexed() ? LONG(scan.key) : 0);
            return;
        }
        CreateAlpha();
    }
    // Pixel data with its own alpha keeps it; the mask only clears more of it.
    scan.ForMasked([&](LONG x, LONG y) { SetAlpha(x, y, 0); });
}

bool CRasterICO::Encode(CRasterFile& file) {
    return Encode(file, false, 0);
}

bool CRasterICO::Encode(CRasterFile& file, bool, int) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (GetBpp() <= 8 && !IsIndexed())
        return Fail("icon needs a palette");
    const bool large = GetWidth() > 255 || GetHeight() > 255;
    IcoEntry entry;
    entry.width = large ? 256 : GetWidth();
    entry.height = large ? 256 : GetHeight();
    entry.colorCount = GetNumColors() < 256 ? static_cast<BYTE>(GetNumColors()) : 0;
    entry.planes = 0;
    entry.bitCount = GetBpp() == 24 && IsAlphaValid() ? 32 : GetBpp();
    imageOffset_ = IcoDirectory::kHeaderSize + IcoEntry::kSize;
    entry.offset = imageOffset_;
    return large ? EncodePng(file, entry) : EncodeBitmap(file, entry);
}

bool CRasterICO::EncodePng(CRasterFile& file, IcoEntry& entry) {
    CRasterMemFile memory;
    CRasterPNG png;
    png.ShareFrom(this);
    if (!memory.Open() || !png.Encode(memory))
        return Fail(png.GetLastError());
    const std::vector<BYTE> bytes = memory.DetachBuffer();
    entry.bytes = static_cast<DWORD>(bytes.size());
    BYTE head[IcoDirectory::kHeaderSize + IcoEntry::kSize];
    IcoDirectory::StoreHeader(head, 1);
    entry.Store(head + IcoDirectory::kHeaderSize);
    return (WriteExact(file, head, sizeof head) && WriteExact(file, bytes.data(), bytes.size())) ||
           Fail("Error writing icon file");
}

bool CRasterICO::HiddenPixel(LONG x, LONG y, const RGBQUAD& key, bool paletteAlpha) {
    if (IsAlphaValid() && BlindGetAlpha(x, y) == 0)
        return true;
    if (paletteAlpha && GetPaletteColor(BlindGetPixelIndex(x, y)).rgbReserved == 0)
        return true;
    if (!IsTransparent())
        return false;
    const RGBQUAD c = BlindGetPixelColor(x, y, false);
    return c.rgbBlue == key.rgbBlue && c.rgbGreen == key.rgbGreen && c.rgbRed == key.rgbRed;
}

bool CRasterICO::EncodeBitmap(CRasterFile& file, IcoEntry& entry) {
    const DWORD width = GetWidth();
    const DWORD height = GetHeight();
    const bool wide = entry.bitCount == 32;
    const DWORD pixelBytes = wide ? width * 4 * height : GetStride() * height;
    const DWORD maskRow = MaskRowBytes(width);
    entry.bytes = pixelBytes + GetPaletteSize() + maskRow * height + BmpInfoHeader::kInfoSize;

    std::vector<BYTE> out(IcoDirectory::kHeaderSize + IcoEntry::kSize + BITMAPINFOHEADER::kSize);
    IcoDirectory::StoreHeader(out.data(), 1);
    entry.Store(out.data() + IcoDirectory::kHeaderSize);
    BITMAPINFOHEADER ih;
    ih.biSize = BITMAPINFOHEADER::kSize;
    ih.biWidth = static_cast<LONG>(width);
    ih.biHeight = static_cast<LONG>(height * 2);
    ih.biPlanes = 1;
    ih.biBitCount = entry.bitCount;
    ih.biSizeImage = pixelBytes;
    ih.Store(out.data() + IcoDirectory::kHeaderSize + IcoEntry::kSize);

    // The palette goes out with the transparent entry black and empty, so that the masked
    // pixels leave the screen untouched; the picture's own palette is not changed.
    const std::size_t paletteAt = out.size();
    const CRaster& self = *this;
    if (IsIndexed())
        out.insert(out.end(), self.GetPalette(), self.GetPalette() + GetPaletteSize());
    if (IsIndexed() && IsTransparent())
        std::memset(&out[paletteAt + 4 * std::size_t(GetTransparentIndex())], 0, 4);

    for (DWORD y = 0; y < height; ++y) {
        const BYTE* in = self.GetBits(y);
        if (!wide) {
            out.insert(out.end(), in, in + GetStride());
            continue;
        }
        const BYTE* alpha = GetAlphaPointer(0, static_cast<LONG>(y));
        for (DWORD x = 0; x < width; ++x)
            out.insert(out.end(), {in[3 * x], in[3 * x + 1], in[3 * x + 2], alpha[x]});
    }
    const RGBQUAD key = GetTransparentColor();
    // A palette whose fourth bytes are all 0 carries no alpha, even with palette alpha on:
    // taken as alpha it would hide every pixel, and the icon would read back inverted.
    const bool paletteAlpha = IsIndexed() && Info().paletteAlpha && HasPaletteAlpha();
    for (DWORD y = 0; y < height; ++y) {
        const std::size_t rowAt = out.size();
        out.resize(rowAt + maskRow, 0);
        for (DWORD x = 0; x < width; ++x)
            if (HiddenPixel(static_cast<LONG>(x), static_cast<LONG>(y), key, paletteAlpha))
                out[rowAt + (x >> 3)] |= static_cast<BYTE>(0x80 >> (x & 7));
    }
    return WriteExact(file, out.data(), out.size()) || Fail("Error writing icon file");
}
