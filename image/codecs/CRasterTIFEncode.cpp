#include "image/codecs/CRasterTIF.h"
#include "image/codecs/CRasterTiffClientOpen.h"
#include "image/core/CRasterFile.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// True when the palette is the grey ramp a min-is-black page of this depth stands for.
bool IsGreyRamp(const CRaster& image) {
    const DWORD n = image.GetNumColors();
    for (DWORD i = 0; i < n; ++i) {
        const RGBQUAD c = image.GetPaletteColor(i);
        const DWORD v = i * 255 / (n - 1);
        if (c.rgbRed != v || c.rgbGreen != v || c.rgbBlue != v)
            return false;
    }
    return n >= 2;
}

// Dictionary coders start afresh in every strip: with libtiff's 8 KiB strips a flat picture
// never reaches the long strings it is made of. Strips of about a megabyte cost readers little.
uint32_t LosslessStripRows(TIFF* tif) {
    constexpr std::uint64_t kStripBytes = 1 << 20;
    const std::uint64_t row = std::max<std::uint64_t>(TIFFScanlineSize64(tif), 1);
    return static_cast<uint32_t>(std::max<std::uint64_t>(1, kStripBytes / row));
}

} // namespace

void CRasterTIF::ResetWriter() {
    writer_.reset();
    multiPage_ = false;
    pages_ = 0;
}

bool CRasterTIF::Encode(CRasterFile& file, bool append) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (!writer_) {
        SetLastError("");
        writer_ = std::make_unique<CRasterTiffClientOpen>(file, *this);
        if (!writer_->Open("a")) {
            ResetWriter();
            return Fail("initialization fail");
        }
    }
    if (append || pages_ > 0)
        multiPage_ = true;
    ++pages_;
    TIFF* tif = writer_->Handle();
    if (!EncodePage(tif, multiPage_, pages_, pages_)) {
        ResetWriter();
        return Fail("Error saving TIFF file");
    }
    if (!TIFFWriteDirectory(tif)) {
        ResetWriter();
        return Fail("Error saving TIFF directory");
    }
    if (append)
        return true;
    const bool closed = writer_->Close();
    ResetWriter();
    return closed || Fail("Error saving TIFF file");
}

// The page's compression when one was read and this depth can take it, else the depth's own.
uint16_t CRasterTIF::ChooseCompression(int bitsPerSample, int photometric) const {
    const auto stored = static_cast<uint16_t>(GetCodecOption(kTypeTif));
    const int bpp = GetBpp();
    bool fits = false;
    switch (stored) {
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        fits = bpp == 1;
        break;
    case COMPRESSION_JPEG:
        fits = bitsPerSample == 8 && photometric != PHOTOMETRIC_PALETTE && !IsAlphaValid();
        break;
    case COMPRESSION_NONE:
    case COMPRESSION_LZW:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
    case COMPRESSION_PACKBITS:
    case COMPRESSION_LZMA:
    case COMPRESSION_ZSTD:
        fits = true;
        break;
    default:
        break;
    }
    if (fits && TIFFIsCODECConfigured(stored))
        return stored;
    if (bpp == 1)
        return COMPRESSION_CCITTFAX4;
    // Readers take JPEG with three colour samples only; pictures with alpha stay lossless.
    if (bpp == 4 || bpp == 8 || IsAlphaValid())
        return COMPRESSION_LZW;
    if (bpp == 24)
        return COMPRESSION_JPEG;
    return COMPRESSION_NONE;
}

bool CRasterTIF::EncodePage(TIFF* tif, bool multiPage, int page, int pageCount) {
    const int bpp = GetBpp();
    const bool alpha = IsAlphaValid() && (bpp == 24 || bpp == 8);
    const int samples = (bpp == 24 ? 3 : 1) + (alpha ? 1 : 0);
    const int bitsPerSample = bpp == 24 ? 8 : bpp;
    // A dark first entry means black is 0, which min-is-white stores as 1: the bits flip.
    bool invert = false;
    int photometric = PHOTOMETRIC_RGB;
    if (bpp == 1) {
        photometric = PHOTOMETRIC_MINISWHITE;
        invert = CompareLuminance(GetPaletteColor(0), GetPaletteColor(1)) < 0;
    } else if (bpp == 4 || bpp == 8) {
        photometric = IsGreyRamp(*this) ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE;
    }

    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, GetWidth());
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, GetHeight());
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bitsPerSample);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(GetXDpi()));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(GetYDpi()));
    if (alpha) {
        // Unassociated: the colours are stored as they are, not multiplied by alpha.
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (multiPage) {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(page),
                     static_cast<uint16_t>(pageCount));
        TIFFSetField(tif, TIFFTAG_PAGENAME, Format("Page %d", page).c_str());
    } else {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
    }
    if (photometric == PHOTOMETRIC_PALETTE) {
        std::array<uint16_t, 256> red{};
        std::array<uint16_t, 256> green{};
        std::array<uint16_t, 256> blue{};
        for (DWORD i = 0; i < GetNumColors(); ++i) {
            const RGBQUAD c = GetPaletteColor(i);
            red[i] = static_cast<uint16_t>(c.rgbRed * 257);
            green[i] = static_cast<uint16_t>(c.rgbGreen * 257);
            blue[i] = static_cast<uint16_t>(c.rgbBlue * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }

    const uint16_t compression = ChooseCompression(bitsPerSample, photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0);
    if (compression != COMPRESSION_JPEG && compression != COMPRESSION_CCITTFAX3 &&
        compression != COMPRESSION_CCITTFAX4)
        rowsPerStrip = LosslessStripRows(tif);
    if (compression == COMPRESSION_LZW && bitsPerSample * samples >= 8)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, static_cast<int>(GetJpegQuality()));
        rowsPerStrip = (rowsPerStrip + 7) & ~7u;
    }
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

    std::vector<BYTE> row;
    for (DWORD top = 0; top < GetHeight(); ++top) {
        BuildRow(top, samples, invert, row);
        if (TIFFWriteScanline(tif, row.data(), top, 0) < 0)
            return false;
    }
    return true;
}

// One row from the top in the file's layout. libtiff may change the row while coding it,
// so it is always a copy.
void CRasterTIF::BuildRow(DWORD top, int samples, bool invert, std::vector<BYTE>& row) {
    const DWORD y = GetHeight() - 1 - top;
    const BYTE* in = GetBits(y);
    const DWORD width = GetWidth();
    const int bpp = GetBpp();
    row.resize(std::max<std::size_t>(GetStride(), std::size_t{width} * samples));
    const BYTE* alpha = samples == 2 || samples == 4 ? GetAlphaPointer(0, LONG(y)) : nullptr;
    BYTE* out = row.data();
    if (bpp == 24) {
        for (DWORD x = 0; x < width; ++x, in += 3, out += samples) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            if (alpha != nullptr)
                out[3] = alpha[x];
        }
    } else if (alpha != nullptr) {
        for (DWORD x = 0; x < width; ++x) {
            out[2 * x] = in[x];
            out[2 * x + 1] = alpha[x];
        }
    } else if (invert) {
        for (DWORD i = 0; i < GetStride(); ++i)
            out[i] = static_cast<BYTE>(~in[i]);
    } else {
        std::memcpy(out, in, GetStride());
    }
}
