#include "image/codecs/CRasterBMP.h"

#include "image/codecs/BitfieldChannel.h"
#include "image/codecs/BitmapFileHeader.h"
#include "image/codecs/BmpInfoHeader.h"
#include "image/core/CRasterFile.h"
#include "image/core/StreamByteReader.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kWriteError = "Error writing BMP file";

LONG DpiFromPelsPerMeter(LONG ppm) {
    return static_cast<LONG>(std::floor(ppm * 254.0 / 10000.0 + 0.5));
}

} // namespace

DWORD CRasterBMP::StorageRow(DWORD n, bool topDown) const {
    return topDown ? GetHeight() - 1 - n : n;
}

bool CRasterBMP::ReadInfoHeader(CRasterFile& file, BmpInfoHeader& h) {
    BYTE sizeField[4];
    if (!ReadExact(file, sizeField, 4))
        return Fail("Error reading BMP info");
    const DWORD size = GetLittleEndian<DWORD>(sizeField);
    if (!BmpInfoHeader::SizeAccepted(size) || size > BytesLeft(file) + 4)
        return Fail("Error reading BMP info");
    std::vector<BYTE> bytes(size);
    std::memcpy(bytes.data(), sizeField, 4);
    if (!ReadExact(file, bytes.data() + 4, size - 4))
        return Fail("Error reading BMP info");
    std::string error;
    if (!BmpInfoHeader::Parse(bytes, h, error))
        return Fail(error);
    if (h.compression == BmpInfoHeader::kBitfields && !h.MasksInHeader() &&
        (h.bitCount == 16 || h.bitCount == 32)) {
        BYTE masks[12];
        if (!ReadExact(file, masks, sizeof masks))
            return Fail("Error reading BMP info");
        h.redMask = GetLittleEndian<DWORD>(masks);
        h.greenMask = GetLittleEndian<DWORD>(masks + 4);
        h.blueMask = GetLittleEndian<DWORD>(masks + 8);
    }
    return true;
}

bool CRasterBMP::ReadPalette(CRasterFile& file, const BmpInfoHeader& h) {
    const std::uint64_t fileColors = h.FileColors();
    const DWORD entrySize = h.PaletteEntrySize();
    if (fileColors * entrySize > BytesLeft(file))
        return Fail("Error reading BMP info");
    const std::uint64_t used = std::min<std::uint64_t>(fileColors, GetNumColors());
    std::vector<BYTE> bytes(used * entrySize);
    if (!ReadExact(file, bytes.data(), bytes.size()))
        return Fail("Error reading BMP info");
    for (DWORD i = 0; i < used; ++i) {
        const BYTE* e = &bytes[std::size_t{i} * entrySize];
        SetPaletteColor(i, e[2], e[1], e[0], 0);
    }
    return Skip(file, (fileColors - used) * entrySize) || Fail("Error reading BMP info");
}

// The bytes the pixel data can take: from the data offset, or from after the palette of a
// bare header, to the end of the stream.
std::uint64_t CRasterBMP::PixelBytesAvailable(CRasterFile& file, std::uint64_t palette, LONG start,
                                              DWORD dataOffset) {
    if (dataOffset != 0) {
        const std::int64_t size = std::int64_t{file.Size()} - start;
        return size > std::int64_t{dataOffset} ? std::uint64_t(size) - dataOffset : 0;
    }
    const std::uint64_t left = BytesLeft(file);
    return left > palette ? left - palette : 0;
}

// Plain rows must all be there (the last one may lack its padding); a run of two bytes
// covers at most 255 pixels. Checked before any memory is spent on the picture.
bool CRasterBMP::FitsData(const BmpInfoHeader& h, std::uint64_t available) {
    const std::uint64_t pixels = std::uint64_t(h.width) * h.Height();
    if (h.compression == BmpInfoHeader::kRle8 || h.compression == BmpInfoHeader::kRle4)
        return pixels <= (available + 1) / 2 * 255;
    const std::uint64_t lastRow = (std::uint64_t(h.width) * h.bitCount + 7) / 8;
    return h.RowBytes() * (h.Height() - 1) + lastRow <= available;
}

bool CRasterBMP::Decode(CRasterFile& file, const DecodeOptions& options) {
    const LONG start = file.Tell();
    BYTE fileHeader[BITMAPFILEHEADER::kSize];
    if (!ReadExact(file, fileHeader, sizeof fileHeader))
        return Fail("Not a BMP");
    const BITMAPFILEHEADER fh = BITMAPFILEHEADER::Load(fileHeader);
    DWORD dataOffset = 0;
    if (fh.bfType == BITMAPFILEHEADER::kTypeBM)
        dataOffset = fh.bfOffBits;
    else
        file.Seek(start, 0);

    BmpInfoHeader h;
    if (!ReadInfoHeader(file, h))
        return false;
    if (HeaderOnly()) {
        SetHeaderOnly(h.width, h.Height(), h.bitCount);
        SetLastError("output dimensions returned");
        return true;
    }
    // The picture, an alpha plane that bit fields may bring, and one row of the file.
    const std::uint64_t estimate =
        PictureBytes(h.width, h.Height(), h.bitCount > 8 ? 24 : h.bitCount, h.bitCount > 8) +
        h.RowBytes();
    if (!options.Allows(estimate))
        return FailTooLarge("BMP", h.width, h.Height(), estimate, options);
    const std::uint64_t palette =
        (h.bitCount <= 8 ? h.FileColors() : std::uint64_t(h.clrUsed)) * h.PaletteEntrySize();
    if ((h.bitCount <= 8 || dataOffset == 0) && palette > BytesLeft(file))
        return Fail("Error reading BMP info");
    if (!FitsData(h, PixelBytesAvailable(file, palette, start, dataOffset)))
        return FailLargerThanData();
    if (!Create(h.width, h.Height(), h.bitCount, kTypeBmp))
        return false;
    SetXDpi(DpiFromPelsPerMeter(h.xPelsPerMeter));
    SetYDpi(DpiFromPelsPerMeter(h.yPelsPerMeter));
    if (h.bitCount <= 8 && !ReadPalette(file, h))
        return false;
    if (dataOffset != 0) {
        if (dataOffset > std::uint64_t(file.Size() - start) ||
            !file.Seek(start + LONG(dataOffset), 0))
            return Fail("Error reading BMP info");
    } else if (h.bitCount > 8 && !Skip(file, std::uint64_t(h.clrUsed) * h.PaletteEntrySize())) {
        return Fail("Error reading BMP info");
    }
    return ReadPixels(file, h);
}

bool CRasterBMP::ReadPixels(CRasterFile& file, const BmpInfoHeader& h) {
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
        if (h.compression == BmpInfoHeader::kRgb)
            return ReadRows(file, h.TopDown());
        if ((h.compression == BmpInfoHeader::kRle8 && h.bitCount == 8) ||
            (h.compression == BmpInfoHeader::kRle4 && h.bitCount == 4))
            return ReadRunLength(file, h);
        return Fail("compression type not supported");
    case 24:
        if (h.compression != BmpInfoHeader::kRgb)
            return Fail("unknown compression");
        return ReadRows(file, h.TopDown());
    default: // 16 and 32
        if (h.compression != BmpInfoHeader::kRgb && h.compression != BmpInfoHeader::kBitfields)
            return Fail("unknown compression");
        return ReadMasked(file, h);
    }
}

// Rows as stored. A file that ends early leaves the rows it lacks cleared.
bool CRasterBMP::ReadRows(CRasterFile& file, bool topDown) {
    const DWORD height = GetHeight();
    const DWORD stride = GetStride();
    for (DWORD n = 0; n < height; ++n) {
        if (Cancelled())
            return false;
        BYTE* row = GetBits(StorageRow(n, topDown));
        const std::size_t got = file.Read(row, 1, stride);
        if (got < stride) {
            std::memset(row + got, 0, stride - got);
            break;
        }
        SetProgress(n, height);
    }
    return true;
}

bool CRasterBMP::ReadRunLength(CRasterFile& file, const BmpInfoHeader& h) {
    const bool four = h.bitCount == 4;
    const DWORD width = GetWidth();
    const DWORD height = GetHeight();
    StreamByteReader in(file);
    DWORD x = 0;
    DWORD y = 0;
    auto put = [&](BYTE index) {
        if (x < width && y < height)
            SetPixelIndex(static_cast<LONG>(x), static_cast<LONG>(StorageRow(y, h.TopDown())),
                          index);
        if (x < width)
            ++x;
    };
    while (y < height) {
        const int count = in.Get();
        const int value = in.Get();
        if (count < 0 || value < 0)
            break; // no end marker: what was read stands
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? static_cast<BYTE>((i & 1) ? value & 0x0F : value >> 4)
                         : static_cast<BYTE>(value));
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
            if (Cancelled())
                return false;
            SetProgress(y, height);
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // move right and up
            const int dx = in.Get();
            const int dy = in.Get();
            if (dx < 0 || dy < 0)
                break;
            x = std::min<DWORD>(width, x + dx);
            y += dy;
        } else { // literal run
            const int bytes = four ? (value + 1) / 2 : value;
            BYTE literal[256];
            if (!in.Read(literal, bytes))
                break;
            for (int i = 0; i < value; ++i)
                put(four ? static_cast<BYTE>((i & 1) ? literal[i / 2] & 0x0F : literal[i / 2] >> 4)
                         : literal[i]);
            if ((bytes & 1) != 0 && in.Get() < 0)
                break;
        }
    }
    in.Sync();
    return true;
}

bool CRasterBMP::ReadMasked(CRasterFile& file, const BmpInfoHeader& h) {
    const bool sixteen = h.bitCount == 16;
    const bool masked = h.compression == BmpInfoHeader::kBitfields;
    const BitfieldChannel red(masked ? h.redMask : (sixteen ? 0x7C00 : 0xFF0000));
    const BitfieldChannel green(masked ? h.greenMask : (sixteen ? 0x03E0 : 0x00FF00));
    const BitfieldChannel blue(masked ? h.blueMask : (sixteen ? 0x001F : 0x0000FF));
    // The fourth byte is alpha in plain 32-bit data; masked data names its alpha bits.
    const DWORD alphaMask =
        sixteen ? 0 : (masked ? (h.HasAlphaMask() ? h.alphaMask : 0) : 0xFF000000u);
    const BitfieldChannel alpha(alphaMask);
    if (alphaMask != 0 && !CreateAlpha())
        return Fail("can't allocate memory");

    const DWORD width = GetWidth();
    const DWORD height = GetHeight();
    const std::size_t rowBytes = static_cast<std::size_t>(h.RowBytes());
    std::vector<BYTE> row(rowBytes);
    bool anyAlpha = false;
    for (DWORD n = 0; n < height; ++n) {
        if (Cancelled())
            return false;
        // The last row may come without its padding.
        if (file.Read(row.data(), 1, rowBytes) < std::size_t{width} * (sixteen ? 2 : 4))
            break;
        const DWORD y = StorageRow(n, h.TopDown());
        BYTE* out = GetBits(y);
        BYTE* a = alphaMask != 0 ? GetAlphaPointer(0, static_cast<LONG>(y)) : nullptr;
        for (DWORD x = 0; x < width; ++x) {
            const DWORD px =
                sixteen ? GetLittleEndian<WORD>(&row[x * 2]) : GetLittleEndian<DWORD>(&row[x * 4]);
            out[x * 3] = blue.Extract(px);
            out[x * 3 + 1] = green.Extract(px);
            out[x * 3 + 2] = red.Extract(px);
            if (a != nullptr) {
                a[x] = alpha.Extract(px);
                anyAlpha |= a[x] != 0;
            }
        }
        SetProgress(n, height);
    }
    // Plain 32-bit files usually leave the fourth byte 0: then it carries no alpha.
    if (alphaMask != 0 && !anyAlpha)
        DeleteAlpha();
    return true;
}

bool CRasterBMP::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (GetBpp() == 24 && IsAlphaValid())
        return EncodeWithAlpha(file);
    return EncodeAsHeld(file);
}

bool CRasterBMP::EncodeAsHeld(CRasterFile& file) {
    BITMAPINFOHEADER ih = GetHeader();
    ih.biSize = BITMAPINFOHEADER::kSize;
    ih.biCompression = BITMAPINFOHEADER::kBiRgb;
    ih.biSizeImage = GetStride() * GetHeight();
    BITMAPFILEHEADER fh;
    fh.bfType = BITMAPFILEHEADER::kTypeBM;
    fh.bfOffBits = BITMAPFILEHEADER::kSize + BITMAPINFOHEADER::kSize + GetPaletteSize();
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    BYTE headers[BITMAPFILEHEADER::kSize + BITMAPINFOHEADER::kSize];
    fh.Store(headers);
    ih.Store(headers + BITMAPFILEHEADER::kSize);
    const CRaster& self = *this;
    return (WriteExact(file, headers, sizeof headers) &&
            WriteExact(file, self.GetPalette(), GetPaletteSize()) &&
            WriteExact(file, self.GetBits(0), ih.biSizeImage)) ||
           Fail(kWriteError);
}

bool CRasterBMP::EncodeWithAlpha(CRasterFile& file) {
    const DWORD width = GetWidth();
    const DWORD height = GetHeight();
    BITMAPINFOHEADER ih = GetHeader();
    ih.biSize = BITMAPINFOHEADER::kSize;
    ih.biBitCount = 32;
    ih.biCompression = BITMAPINFOHEADER::kBiRgb;
    ih.biSizeImage = width * 4 * height;
    BITMAPFILEHEADER fh;
    fh.bfType = BITMAPFILEHEADER::kTypeBM;
    fh.bfOffBits = BITMAPFILEHEADER::kSize + BITMAPINFOHEADER::kSize;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    BYTE headers[BITMAPFILEHEADER::kSize + BITMAPINFOHEADER::kSize];
    fh.Store(headers);
    ih.Store(headers + BITMAPFILEHEADER::kSize);
    if (!WriteExact(file, headers, sizeof headers))
        return Fail(kWriteError);
    std::vector<BYTE> row(std::size_t{width} * 4);
    for (DWORD y = 0; y < height; ++y) {
        const BYTE* in = GetBits(y);
        const BYTE* a = GetAlphaPointer(0, static_cast<LONG>(y));
        for (DWORD x = 0; x < width; ++x) {
            std::memcpy(&row[x * 4], in + x * 3, 3);
            row[x * 4 + 3] = a[x];
        }
        if (!WriteExact(file, row.data(), row.size()))
            return Fail(kWriteError);
    }
    return true;
}
