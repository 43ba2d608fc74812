#include "image/codecs/CRasterPNG.h"

#include "image/core/CRasterFile.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>

// libpng reports errors by a long jump back into the function that set it up. That function
// creates no object with a destructor after its setjmp, and every buffer lives in the state
// structs below, built before it.

namespace {

void OnPngError(png_structp png, png_const_charp message) {
    auto* image = static_cast<CRaster*>(png_get_error_ptr(png));
    // Nothing may throw through libpng's C frames.
    try {
        image->SetLastError(message);
    } catch (...) {
    }
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngRead(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<CRasterFile*>(png_get_io_ptr(png));
    if (file->Read(data, 1, length) != length)
        png_error(png, "Read Error");
}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<CRasterFile*>(png_get_io_ptr(png));
    if (file->Write(data, 1, length) != length)
        png_error(png, "Write Error");
}

void OnPngFlush(png_structp png) {
    auto* file = static_cast<CRasterFile*>(png_get_io_ptr(png));
    if (!file->Flush())
        png_error(png, "Flush Error");
}

LONG DpiFromPelsPerMeter(png_uint_32 ppm) {
    return static_cast<LONG>(std::floor(ppm * 254.0 / 10000.0 + 0.5));
}

BYTE IndexAt(const BYTE* row, DWORD x, int bpp) {
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

void SetIndexAt(BYTE* row, DWORD x, int bpp, BYTE v) {
    switch (bpp) {
    case 1: {
        const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<BYTE>(v ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) ? static_cast<BYTE>((row[x >> 1] & 0xF0) | (v & 0x0F))
                              : static_cast<BYTE>((row[x >> 1] & 0x0F) | (v << 4));
        break;
    default:
        row[x] = v;
    }
}

// True when the palette is the grey ramp a grey PNG of this depth stands for.
bool IsGreyRamp(const CRaster& image) {
    const DWORD n = image.GetNumColors();
    if (n < 2)
        return false;
    const DWORD step = 255 / (n - 1);
    for (DWORD i = 0; i < n; ++i) {
        const RGBQUAD c = image.GetPaletteColor(i);
        const DWORD v = i * step;
        if (c.rgbRed != v || c.rgbGreen != v || c.rgbBlue != v)
            return false;
    }
    return true;
}

} // namespace

// ---- reading ------------------------------------------------------------------------------

struct CRasterPNG::ReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const DecodeOptions* options = nullptr;
    RowKind kind = RowKind::Direct;
    std::vector<BYTE> row;

    ~ReadState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

bool CRasterPNG::Decode(CRasterFile& file, const DecodeOptions& options) {
    ReadState s;
    s.png = png_create_read_struct(png_get_libpng_ver(nullptr), this, OnPngError, OnPngWarning);
    if (s.png == nullptr)
        return Fail("Failed to create PNG structure");
    s.info = png_create_info_struct(s.png);
    if (s.info == nullptr)
        return Fail("Failed to initialize PNG info structure");
    s.options = &options;
    return ReadPicture(s, file);
}

bool CRasterPNG::ReadPicture(ReadState& s, CRasterFile& file) {
    if (setjmp(png_jmpbuf(s.png)))
        return false;
    png_set_read_fn(s.png, &file, OnPngRead);
    png_read_info(s.png, s.info);
    if (HeaderOnly()) {
        SetHeaderOnly(png_get_image_width(s.png, s.info), png_get_image_height(s.png, s.info), 8);
        return true;
    }
    if (!SetUpPicture(s))
        return false;
    const bool interlaced = png_get_interlace_type(s.png, s.info) == PNG_INTERLACE_ADAM7;
    png_read_update_info(s.png, s.info);
    SetCodecOption(interlaced ? 1 : 0, kTypePng);
    const std::size_t rowBytes = png_get_rowbytes(s.png, s.info);
    const DWORD height = GetHeight();
    if (interlaced) {
        s.row.resize(rowBytes + 8);
        if (!ReadInterlaced(s))
            return false;
    } else {
        s.row.resize(rowBytes + 8);
        // Rows that need no reshaping go straight into the picture (they are never wider
        // than its stride); libpng keeps the cleared spare bits of a last packed byte.
        const bool direct = s.kind == RowKind::Direct && rowBytes <= GetStride();
        for (DWORD y = 0; y < height; ++y) {
            if (Cancelled())
                return false;
            if (direct) {
                png_read_row(s.png, GetBits(height - 1 - y), nullptr);
            } else {
                png_read_row(s.png, s.row.data(), nullptr);
                PlaceRow(s, s.row.data(), y);
            }
            SetProgress(y, height);
        }
    }
    png_read_end(s.png, nullptr);
    return true;
}

bool CRasterPNG::SetUpPicture(ReadState& s) {
    png_structp png = s.png;
    png_infop info = s.info;
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    DWORD bpp = 24;
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        bpp = std::min(bitDepth, 8);
        s.kind = bitDepth == 2 ? RowKind::TwoBit : RowKind::Direct;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        bpp = 8;
        s.kind = RowKind::GreyAlpha;
        break;
    case PNG_COLOR_TYPE_RGB:
        s.kind = RowKind::Direct;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        s.kind = RowKind::ColourAlpha;
        break;
    default:
        return Fail("unknown PNG color type");
    }
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    const std::uint64_t estimate = Estimate(s, bpp, alpha);
    if (!s.options->Allows(estimate))
        return FailTooLarge("PNG", png_get_image_width(png, info), png_get_image_height(png, info),
                            estimate, *s.options);
    // Every row is placed before the picture counts as read; a failed read discards it.
    if (!CreateForOverwrite(png_get_image_width(png, info), png_get_image_height(png, info), bpp,
                            kTypePng))
        return false;
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType & PNG_COLOR_MASK_COLOR)
        png_set_bgr(png);

    ReadResolution(s);
    if (IsIndexed())
        ReadPalette(s, bitDepth);
    ReadTransparency(s, colorType, bitDepth);
    if (alpha && !CreateAlpha())
        return Fail("CRaster::Create can't allocate memory");
    return true;
}

std::uint64_t CRasterPNG::Estimate(const ReadState& s, DWORD bpp, bool alpha) {
    const std::uint64_t width = png_get_image_width(s.png, s.info);
    const std::uint64_t height = png_get_image_height(s.png, s.info);
    const std::uint64_t bits =
        std::uint64_t(png_get_channels(s.png, s.info)) * png_get_bit_depth(s.png, s.info);
    const std::uint64_t rowBytes = (width * bits + 7) / 8 + 1;
    // Our row, libpng's current and previous rows, and inflate's window.
    return PictureBytes(width, height, bpp, alpha) + 3 * rowBytes + 64 * 1024;
}

// Each pass comes as a small picture of its own (libpng's interlace handling is left off),
// and its pixels go straight to their places in the picture.
bool CRasterPNG::ReadInterlaced(ReadState& s) {
    const png_uint_32 width = GetWidth();
    const png_uint_32 height = GetHeight();
    for (int pass = 0; pass < 7; ++pass) {
        const png_uint_32 cols = PNG_PASS_COLS(width, pass);
        const png_uint_32 rows = PNG_PASS_ROWS(height, pass);
        // libpng skips the passes that hold no pixel.
        if (cols == 0 || rows == 0)
            continue;
        for (png_uint_32 r = 0; r < rows; ++r) {
            if (Cancelled())
                return false;
            png_read_row(s.png, s.row.data(), nullptr);
            PlacePassRow(s, s.row.data(), PNG_ROW_FROM_PASS_ROW(r, pass),
                         PNG_COL_FROM_PASS_COL(0, pass), 1u << PNG_PASS_COL_SHIFT(pass), cols);
        }
        SetProgress(pass, 7);
    }
    return true;
}

void CRasterPNG::ReadResolution(const ReadState& s) {
    png_uint_32 xRes = 0;
    png_uint_32 yRes = 0;
    int unit = 0;
    // Without a unit the values give only the pixels' aspect, no resolution.
    if (png_get_pHYs(s.png, s.info, &xRes, &yRes, &unit) && unit == PNG_RESOLUTION_METER) {
        SetXDpi(DpiFromPelsPerMeter(xRes));
        SetYDpi(DpiFromPelsPerMeter(yRes));
    }
}

void CRasterPNG::ReadPalette(const ReadState& s, int bitDepth) {
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(s.png, s.info, &palette, &count)) {
        count = std::min<int>(count, static_cast<int>(GetNumColors()));
        for (int i = 0; i < count; ++i)
            SetPaletteColor(i, palette[i].red, palette[i].green, palette[i].blue);
        SetClrImportant(count);
    } else if (bitDepth == 2) {
        for (int i = 0; i < 4; ++i)
            SetPaletteColor(i, i * 85, i * 85, i * 85);
    } else {
        SetGrayPalette();
    }
}

// One fully transparent palette entry becomes the transparent index, other palette
// transparency the palette's alpha; a grey or RGB key becomes the transparent index or colour.
void CRasterPNG::ReadTransparency(const ReadState& s, int colorType, int bitDepth) {
    png_bytep trans = nullptr;
    int transCount = 0;
    png_color_16p transColor = nullptr;
    if (!png_get_tRNS(s.png, s.info, &trans, &transCount, &transColor))
        return;
    const int shift = bitDepth == 16 ? 8 : 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        if (transCount == 1 && trans[0] == 0) {
            SetTransparentIndex(0);
            return;
        }
        for (DWORD i = 0; i < GetNumColors(); ++i) {
            RGBQUAD c = GetPaletteColor(i);
            c.rgbReserved = static_cast<int>(i) < transCount ? trans[i] : 255;
            SetPaletteColor(i, c);
        }
        EnablePaletteAlpha(true);
    } else if (colorType == PNG_COLOR_TYPE_GRAY) {
        SetTransparentIndex(transColor->gray >> shift);
    } else if (colorType == PNG_COLOR_TYPE_RGB) {
        SetTransparentColor(RGBQUAD::FromRgb(static_cast<BYTE>(transColor->red >> shift),
                                             static_cast<BYTE>(transColor->green >> shift),
                                             static_cast<BYTE>(transColor->blue >> shift)));
        SetTransparentIndex(0);
    }
}

void CRasterPNG::PlaceRow(const ReadState& s, const BYTE* in, DWORD top) {
    const DWORD y = GetHeight() - 1 - top;
    BYTE* out = GetBits(y);
    const DWORD width = GetWidth();
    switch (s.kind) {
    case RowKind::Direct:
        std::memcpy(out, in, std::min<std::size_t>(GetStride(), png_get_rowbytes(s.png, s.info)));
        break;
    case RowKind::TwoBit:
        for (DWORD x = 0; x < width; ++x)
            SetIndexAt(out, x, 4, (in[x >> 2] >> (6 - 2 * (x & 3))) & 3);
        break;
    case RowKind::GreyAlpha: {
        BYTE* a = GetAlphaPointer(0, static_cast<LONG>(y));
        for (DWORD x = 0; x < width; ++x) {
            out[x] = in[2 * x];
            a[x] = in[2 * x + 1];
        }
        break;
    }
    case RowKind::ColourAlpha: {
        BYTE* a = GetAlphaPointer(0, static_cast<LONG>(y));
        for (DWORD x = 0; x < width; ++x) {
            std::memcpy(out + 3 * x, in + 4 * x, 3);
            a[x] = in[4 * x + 3];
        }
        break;
    }
    }
}

void CRasterPNG::PlacePassRow(const ReadState& s, const BYTE* in, DWORD top, DWORD first,
                              DWORD step, DWORD count) {
    const DWORD y = GetHeight() - 1 - top;
    BYTE* out = GetBits(y);
    BYTE* a = s.kind == RowKind::GreyAlpha || s.kind == RowKind::ColourAlpha
                  ? GetAlphaPointer(0, static_cast<LONG>(y))
                  : nullptr;
    const int bpp = GetBpp();
    // One loop per packing, so that the pixel loop itself never branches on it.
    switch (s.kind) {
    case RowKind::Direct:
        if (bpp == 24) {
            for (DWORD i = 0, x = first; i < count; ++i, x += step)
                std::memcpy(out + 3 * x, in + 3 * i, 3);
        } else if (bpp == 8) {
            for (DWORD i = 0, x = first; i < count; ++i, x += step)
                out[x] = in[i];
        } else {
            for (DWORD i = 0, x = first; i < count; ++i, x += step)
                SetIndexAt(out, x, bpp, IndexAt(in, i, bpp));
        }
        break;
    case RowKind::TwoBit:
        for (DWORD i = 0, x = first; i < count; ++i, x += step) {
            const BYTE v = (in[i >> 2] >> (6 - 2 * (i & 3))) & 3;
            BYTE& o = out[x >> 1];
            o = (x & 1) ? static_cast<BYTE>((o & 0xF0) | v)
                        : static_cast<BYTE>((o & 0x0F) | (v << 4));
        }
        break;
    case RowKind::GreyAlpha:
        for (DWORD i = 0, x = first; i < count; ++i, x += step) {
            out[x] = in[2 * i];
            a[x] = in[2 * i + 1];
        }
        break;
    case RowKind::ColourAlpha:
        for (DWORD i = 0, x = first; i < count; ++i, x += step) {
            std::memcpy(out + 3 * x, in + 4 * i, 3);
            a[x] = in[4 * i + 3];
        }
        break;
    }
}

// ---- writing ------------------------------------------------------------------------------

struct CRasterPNG::WriteState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    OutKind kind = OutKind::Indices;
    int colorType = PNG_COLOR_TYPE_PALETTE;
    int bitDepth = 8;
    LONG swapWith = -1; // palette index written as entry 0 (and 0 as this one)
    LONG transparent = -1;
    std::vector<png_color> palette;
    std::vector<png_byte> trans;
    std::vector<BYTE> row;

    ~WriteState() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

bool CRasterPNG::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    WriteState s;
    s.png = png_create_write_struct(png_get_libpng_ver(nullptr), this, OnPngError, OnPngWarning);
    if (s.png == nullptr)
        return Fail("Failed to create PNG structure");
    s.info = png_create_info_struct(s.png);
    if (s.info == nullptr)
        return Fail("Failed to initialize PNG info structure");
    PrepareWrite(s);
    return WritePicture(s, file) || Fail("Error saving PNG file");
}

// Chooses the colour type and builds the palette, transparency and row buffer, all without
// touching this picture (a palette swap happens on the written rows only).
void CRasterPNG::PrepareWrite(WriteState& s) {
    const bool alpha = IsAlphaValid();
    s.transparent = GetTransparentIndex();
    if (GetBpp() == 24) {
        s.kind = alpha ? OutKind::Rgba : OutKind::Bgr;
        s.colorType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    } else if (IsGreyRamp(*this)) {
        s.kind = alpha ? OutKind::GreyAlpha : OutKind::Grey;
        s.colorType = alpha ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY;
        s.bitDepth = alpha ? 8 : GetBpp();
    } else if (alpha) {
        s.kind = OutKind::Rgba;
        s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    } else {
        s.kind = OutKind::Indices;
        s.colorType = PNG_COLOR_TYPE_PALETTE;
        s.bitDepth = GetBpp();
        DWORD count = GetClrImportant() != 0 ? GetClrImportant() : GetNumColors();
        // Never write fewer entries than the pixels use.
        for (DWORD y = 0; y < GetHeight() && count < GetNumColors(); ++y)
            for (DWORD x = 0; x < GetWidth(); ++x)
                count = std::max<DWORD>(count, IndexAt(GetBits(y), x, GetBpp()) + 1u);
        s.palette.resize(count);
        for (DWORD i = 0; i < count; ++i) {
            const RGBQUAD c = GetPaletteColor(i);
            s.palette[i] = {c.rgbRed, c.rgbGreen, c.rgbBlue};
        }
        // A palette whose fourth bytes are all 0 carries no alpha, even with palette alpha on.
        if (Info().paletteAlpha && HasPaletteAlpha()) {
            for (DWORD i = 0; i < count; ++i)
                s.trans.push_back(GetPaletteColor(i).rgbReserved);
            if (s.transparent >= 0 && static_cast<DWORD>(s.transparent) < count)
                s.trans[s.transparent] = 0;
        } else if (s.transparent >= 0 && static_cast<DWORD>(s.transparent) < count) {
            // One tRNS entry covers index 0: the transparent entry trades places with it.
            if (s.transparent != 0) {
                s.swapWith = s.transparent;
                std::swap(s.palette[0], s.palette[s.transparent]);
            }
            s.trans.push_back(0);
        }
    }
    const std::size_t channels = s.kind == OutKind::Rgba ? 4 : s.kind == OutKind::GreyAlpha ? 2 : 3;
    s.row.resize(std::max<std::size_t>(GetStride(), std::size_t{GetWidth()} * channels));
}

bool CRasterPNG::WritePicture(WriteState& s, CRasterFile& file) {
    if (setjmp(png_jmpbuf(s.png)))
        return false;
    png_structp png = s.png;
    png_infop info = s.info;
    png_set_write_fn(png, &file, OnPngWrite, OnPngFlush);
    const bool interlaced = GetCodecOption(kTypePng) == 1;
    png_set_IHDR(png, info, GetWidth(), GetHeight(), s.bitDepth, s.colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const BITMAPINFOHEADER& h = GetHeader();
    png_set_pHYs(png, info, static_cast<png_uint_32>(std::max<LONG>(h.biXPelsPerMeter, 0)),
                 static_cast<png_uint_32>(std::max<LONG>(h.biYPelsPerMeter, 0)),
                 PNG_RESOLUTION_METER);

    SetChunks(s);
    png_write_info(png, info);
    if (s.kind == OutKind::Bgr)
        png_set_bgr(png);

    const int passes = png_set_interlace_handling(png);
    const DWORD height = GetHeight();
    // libpng copies every row it is given, so stored rows that need no change go as they are.
    const bool stored = (s.kind == OutKind::Bgr || s.kind == OutKind::Grey ||
                         (s.kind == OutKind::Indices && s.swapWith <= 0));
    for (int pass = 0; pass < passes; ++pass) {
        for (DWORD top = 0; top < height; ++top) {
            const DWORD y = height - 1 - top;
            if (stored) {
                png_write_row(png, GetBits(y));
                continue;
            }
            BuildRow(s, y, s.row.data());
            png_write_row(png, s.row.data());
        }
    }
    png_write_end(png, info);
    return true;
}

// Background, palette and transparency chunks.
void CRasterPNG::SetChunks(WriteState& s) {
    png_color_16 background{};
    background.red = background.green = background.blue = 255;
    if (IsTransparent()) {
        const RGBQUAD t = GetTransparentColor();
        background.red = t.rgbRed;
        background.green = t.rgbGreen;
        background.blue = t.rgbBlue;
    }
    if (s.colorType == PNG_COLOR_TYPE_GRAY || s.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        background.gray = 0;
    png_set_bKGD(s.png, s.info, &background);

    if (s.kind == OutKind::Indices) {
        png_set_PLTE(s.png, s.info, s.palette.data(), static_cast<int>(s.palette.size()));
        if (!s.trans.empty())
            png_set_tRNS(s.png, s.info, s.trans.data(), static_cast<int>(s.trans.size()), nullptr);
    } else if (s.kind == OutKind::Grey && s.transparent >= 0) {
        png_color_16 t{};
        t.gray = static_cast<png_uint_16>(s.transparent);
        png_set_tRNS(s.png, s.info, nullptr, 1, &t);
    } else if (s.kind == OutKind::Bgr && IsTransparent()) {
        const RGBQUAD c = GetTransparentColor();
        png_color_16 t{};
        t.red = c.rgbRed;
        t.green = c.rgbGreen;
        t.blue = c.rgbBlue;
        png_set_tRNS(s.png, s.info, nullptr, 1, &t);
    }
}

void CRasterPNG::BuildRow(const WriteState& s, DWORD y, BYTE* out) const {
    const BYTE* in = GetBits(y);
    const DWORD width = GetWidth();
    const int bpp = GetBpp();
    const BYTE* a = IsAlphaValid() ? const_cast<CRasterPNG*>(this)->GetAlphaPointer(0, y) : nullptr;
    switch (s.kind) {
    case OutKind::Indices:
        std::memcpy(out, in, GetStride());
        if (s.swapWith > 0) {
            for (DWORD x = 0; x < width; ++x) {
                const BYTE v = IndexAt(in, x, bpp);
                if (v == 0 || v == s.swapWith)
                    SetIndexAt(out, x, bpp, static_cast<BYTE>(v == 0 ? s.swapWith : 0));
            }
        }
        break;
    case OutKind::Grey:
    case OutKind::Bgr:
        std::memcpy(out, in, GetStride());
        break;
    case OutKind::GreyAlpha:
        for (DWORD x = 0; x < width; ++x) {
            const BYTE v = IndexAt(in, x, bpp);
            out[2 * x] = GetPaletteColor(v).rgbRed;
            out[2 * x + 1] = (s.transparent == v) ? 0 : a[x];
        }
        break;
    case OutKind::Rgba: {
        const bool keyed = IsTransparent();
        const RGBQUAD key = GetTransparentColor();
        for (DWORD x = 0; x < width; ++x) {
            RGBQUAD c;
            bool hidden = false;
            if (bpp == 24) {
                c = {in[3 * x], in[3 * x + 1], in[3 * x + 2], 0};
                hidden = keyed && c.rgbBlue == key.rgbBlue && c.rgbGreen == key.rgbGreen &&
                         c.rgbRed == key.rgbRed;
            } else {
                const BYTE v = IndexAt(in, x, bpp);
                c = GetPaletteColor(v);
                hidden = s.transparent == v;
            }
            out[4 * x] = c.rgbRed;
            out[4 * x + 1] = c.rgbGreen;
            out[4 * x + 2] = c.rgbBlue;
            out[4 * x + 3] = hidden ? 0 : a[x];
        }
        break;
    }
    }
}
