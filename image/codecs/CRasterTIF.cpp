#include "image/codecs/CRasterTIF.h"

#include "image/codecs/CRasterTiffClientOpen.h"
#include "image/core/CRasterFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

namespace {

constexpr std::uint64_t kMaxBuffer = CRasterTiffClientOpen::kMaxSingleAlloc;
// Strips larger than this are read a band of rows at a time, so that no single call of the
// library decodes more than a band, and a stop is heard between bands.
constexpr std::uint64_t kBandBytes = 8u << 20;

LONG ToDpi(double dpi) {
    if (!std::isfinite(dpi))
        return 0;
    return static_cast<LONG>(std::clamp(std::floor(dpi), 0.0, 1e6));
}

BYTE Scale16(unsigned v) {
    return static_cast<BYTE>((v * 255u + 32767u) / 65535u);
}

// Sample `i` of a row of packed samples, most significant bit first; 16-bit samples come in
// the host's order from libtiff. The row has three bytes of slack behind it.
unsigned SampleAt(const BYTE* row, std::uint64_t i, int bits) {
    if (bits == 8)
        return row[i];
    if (bits == 16) {
        std::uint16_t v;
        std::memcpy(&v, row + 2 * i, 2);
        return v;
    }
    const std::uint64_t bit = i * unsigned(bits);
    const BYTE* p = row + bit / 8;
    const unsigned window = unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2];
    return (window >> (24 - bit % 8 - unsigned(bits))) & ((1u << bits) - 1);
}

BYTE StraightColour(BYTE c, BYTE a) {
    if (a == 0)
        return 0;
    return static_cast<BYTE>(std::min(255u, (unsigned(c) * 255u + a / 2u) / a));
}

// CIE L*a*b* (D65 white) to sRGB.
void LabToBgr(BYTE l, BYTE a, BYTE b, BYTE* out) {
    const double fy = (l * 100.0 / 255.0 + 16.0) / 116.0;
    const double fx = fy + static_cast<signed char>(a) / 500.0;
    const double fz = fy - static_cast<signed char>(b) / 200.0;
    auto inverse = [](double t) { return t > 6.0 / 29.0 ? t * t * t : (t - 16.0 / 116.0) / 7.787; };
    const double x = 0.95047 * inverse(fx);
    const double y = 1.0 * inverse(fy);
    const double z = 1.0883 * inverse(fz);
    const double rgb[3] = {3.2406 * x - 1.5372 * y - 0.4986 * z,
                           -0.9689 * x + 1.8758 * y + 0.0415 * z,
                           0.0557 * x - 0.2040 * y + 1.0570 * z};
    for (int c = 0; c < 3; ++c) {
        const double v = rgb[c];
        const double g = v <= 0.00304 ? 12.92 * v : 1.055 * std::pow(v, 0.41667) - 0.055;
        out[2 - c] = static_cast<BYTE>(std::clamp(std::floor(g * 255.0 + 0.5), 0.0, 255.0));
    }
}

} // namespace

struct CRasterTIF::Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t spp = 1;
    std::uint16_t bits = 1;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    std::uint16_t compression = COMPRESSION_NONE;
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    std::uint16_t extra = EXTRASAMPLE_UNSPECIFIED; // kind of the first extra sample
    std::uint16_t extraCount = 0;
    std::uint32_t rowsPerStrip = 0;
    bool tiled = false;
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
    RowKind kind = RowKind::RgbaReader;
    DWORD bpp = 24;
    bool alpha = false;
    std::vector<BYTE> lut; // WidePalette: blue, green, red for every index
};

CRasterTIF::CRasterTIF() : CRasterCodec(kTypeTif) {}

CRasterTIF::~CRasterTIF() = default;

bool CRasterTIF::Decode(CRasterFile& file, const DecodeOptions& options) {
    const std::uint64_t fileBytes = BytesLeft(file);
    CRasterTiffClientOpen client(file, *this);
    // No block libtiff takes for itself (a strip's raw bytes, the strip its RGBA reader
    // decodes whole) may be larger than the whole budget; the estimate counts them.
    const auto libraryAlloc = static_cast<tmsize_t>(
        std::min<std::uint64_t>(options.budget, CRasterTiffClientOpen::kMaxSingleAlloc));
    if (!client.Open("r", libraryAlloc))
        return *GetLastError() ? false : Fail("Not a TIFF file");
    TIFF* tif = client.Handle();
    const tdir_t pages = TIFFNumberOfDirectories(tif);
    Info().numFrames = static_cast<LONG>(pages);
    const LONG page = Info().frame;
    if (page < 0 || page >= static_cast<LONG>(pages) ||
        !TIFFSetDirectory(tif, static_cast<tdir_t>(page)))
        return Fail("Error: page not present in TIFF file");

    Layout p;
    if (!ReadLayout(tif, p))
        return false;
    if (HeaderOnly()) {
        SetHeaderOnly(p.width, p.height, p.bpp);
        SetLastError("output dimensions returned");
        return true;
    }
    if (!FitsData(tif, p, fileBytes))
        return false;
    const std::uint64_t estimate = Estimate(tif, p);
    if (!options.Allows(estimate))
        return FailTooLarge("TIFF", p.width, p.height, estimate, options);
    if (!CreateForOverwrite(p.width, p.height, p.bpp, kTypeTif))
        return false;
    if (p.alpha && !CreateAlpha())
        return Fail("CRasterTIF can't allocate memory");
    ReadResolution(tif);
    SetCodecOption(p.compression, kTypeTif);
    // From here on a library error is the reason a read fails.
    SetLastError("");
    if (!ReadPalette(tif, p))
        return false;
    if (!(p.kind == RowKind::RgbaReader ? ReadRgba(tif, p) : ReadDirect(tif, p)))
        return false;
    return Orient(p.orientation);
}

namespace {

// a x b, or the largest value when that does not fit: sizes from a hostile file are huge.
std::uint64_t Times(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b;
}

} // namespace

// The page's strips or tiles must lie in the file, every byte of it counted once (strips
// sharing one block are how a small file claims a huge picture). A tile far larger than the
// picture is refused too: it would have to be decoded whole.
bool CRasterTIF::FitsData(TIFF* tif, const Layout& p, std::uint64_t fileBytes) {
    constexpr std::uint64_t kAnyTile = 4u << 20;
    const std::uint64_t scanline = TIFFScanlineSize64(tif);
    const std::uint64_t planes = p.planar == PLANARCONFIG_SEPARATE ? p.spp : 1;
    const std::uint32_t pieces = p.tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    std::uint64_t data = 0;
    for (std::uint32_t i = 0; i < pieces; ++i) {
        data += TIFFGetStrileByteCount(tif, i);
        if (data > fileBytes)
            return Fail("TIFF strips larger than the file");
    }
    if (scanline == 0)
        return Fail("Corrupted TIFF file!");
    if (p.tiled && TIFFTileSize64(tif) > std::max(kAnyTile, Times(scanline * planes, p.height)))
        return Fail("TIFF tile larger than its picture");
    return true;
}

namespace {

// Whether a JPEG stream's frame is progressive (or otherwise keeps every coefficient): its
// markers up to the first scan are read.
bool ProgressiveJpeg(std::span<const BYTE> b) {
    std::size_t at = 2;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return false;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF)
            return false;
        const BYTE code = b[at + 1];
        if (code == 0xFF) {
            ++at;
            continue;
        }
        if (code == 0xDA)
            return false;
        if (code == 0xC2 || code == 0xC6 || code == 0xCA || code == 0xCE)
            return true;
        at += 2 + ((std::size_t(b[at + 2]) << 8) | b[at + 3]);
    }
    return false;
}

} // namespace

bool CRasterTIF::Progressive(TIFF* tif, const Layout& p) {
    std::vector<BYTE> head(4096);
    const tmsize_t got = p.tiled ? TIFFReadRawTile(tif, 0, head.data(), tmsize_t(head.size()))
                                 : TIFFReadRawStrip(tif, 0, head.data(), tmsize_t(head.size()));
    return got > 0 && ProgressiveJpeg(std::span<const BYTE>(head.data(), std::size_t(got)));
}

std::uint64_t CRasterTIF::Estimate(TIFF* tif, const Layout& p) {
    const std::uint64_t scanline = TIFFScanlineSize64(tif);
    const std::uint64_t pieceW = p.tiled ? p.tileWidth : p.width;
    const std::uint64_t pieceH = p.tiled ? p.tileLength : p.rowsPerStrip;
    const std::uint64_t piece = p.tiled ? TIFFTileSize64(tif) : Times(scanline, pieceH);
    std::uint64_t bytes = PictureBytes(p.width, p.height, p.bpp, p.alpha);
    if (p.kind == RowKind::RgbaReader) {
        // Our band of 64 rows or one piece, and the piece libtiff's reader decodes whole.
        bytes += Times(4 * std::uint64_t{p.width}, std::max<std::uint64_t>(64, pieceH));
        bytes += Times(piece, p.planar == PLANARCONFIG_SEPARATE ? p.spp : 1);
    } else {
        bytes += p.tiled ? Times(scanline, pieceH) + piece : std::min(piece, kBandBytes + scanline);
    }
    // A progressive JPEG piece keeps all its coefficients, two bytes a sample.
    if (p.compression == COMPRESSION_JPEG && Progressive(tif, p))
        bytes += Times(Times(pieceW, pieceH), 2 * std::uint64_t{p.spp});
    // Orientations 5 to 8 turn the picture into a second one.
    if (p.orientation >= ORIENTATION_LEFTTOP)
        bytes += PictureBytes(p.height, p.width, p.bpp, p.alpha);
    return bytes;
}

bool CRasterTIF::ReadLayout(TIFF* tif, Layout& p) {
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &p.width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &p.height))
        return Fail("Corrupted TIFF file!");
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &p.spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &p.bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &p.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &p.sampleFormat);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &p.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &p.orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &p.rowsPerStrip);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &p.photometric))
        p.photometric = p.spp >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    std::uint16_t* types = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &p.extraCount, &types) && p.extraCount > 0)
        p.extra = types[0];
    if (p.rowsPerStrip == 0 || p.rowsPerStrip > p.height)
        p.rowsPerStrip = p.height;
    p.tiled = TIFFIsTiled(tif) != 0;
    if (p.tiled && (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &p.tileWidth) ||
                    !TIFFGetField(tif, TIFFTAG_TILELENGTH, &p.tileLength) || p.tileWidth == 0 ||
                    p.tileLength == 0))
        return Fail("Corrupted tiled TIFF file!");
    // libtiff's JPEG codec turns YCbCr into RGB itself, which the direct path then reads.
    if (p.photometric == PHOTOMETRIC_YCBCR && p.compression == COMPRESSION_JPEG &&
        TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
        p.photometric = PHOTOMETRIC_RGB;
    ChooseKind(tif, p);
    return true;
}

void CRasterTIF::ChooseKind(TIFF*, Layout& p) {
    const bool integers =
        p.sampleFormat == SAMPLEFORMAT_UINT || p.sampleFormat == SAMPLEFORMAT_VOID;
    const bool contig = p.planar == PLANARCONFIG_CONTIG || p.spp == 1;
    const bool grey =
        p.photometric == PHOTOMETRIC_MINISWHITE || p.photometric == PHOTOMETRIC_MINISBLACK;
    const bool palette = p.photometric == PHOTOMETRIC_PALETTE;
    const bool alphaDeclared = p.extraCount > 0 && (p.extra == EXTRASAMPLE_ASSOCALPHA ||
                                                    p.extra == EXTRASAMPLE_UNASSALPHA);
    p.kind = RowKind::RgbaReader;
    p.bpp = 24;
    p.alpha = false;
    if (integers && contig && (grey || palette) && p.spp == 1 && p.bits <= 16) {
        if (p.bits == 1 || p.bits == 4 || p.bits == 8) {
            p.kind = RowKind::Indices;
            p.bpp = p.bits;
        } else if (palette && p.bits > 8) {
            p.kind = RowKind::WidePalette;
        } else {
            p.kind = RowKind::Samples;
            p.bpp = 8;
        }
    } else if (integers && contig && p.spp == 2 &&
               ((grey && p.bits == 16) || ((grey || palette) && p.bits == 8))) {
        p.kind = RowKind::GreyAlpha;
        p.bpp = 8;
        p.alpha = true;
    } else if (integers && contig && p.bits == 8 && p.spp >= 3 &&
               p.photometric == PHOTOMETRIC_CIELAB) {
        p.kind = RowKind::Lab;
    } else if (integers && contig && p.bits == 8 && p.spp >= 3 &&
               p.photometric == PHOTOMETRIC_RGB) {
        p.kind = RowKind::Rgb;
        p.alpha = p.spp >= 4;
    } else {
        p.alpha = p.photometric != PHOTOMETRIC_SEPARATED &&
                  (alphaDeclared || (p.photometric == PHOTOMETRIC_RGB && p.spp >= 4));
    }
}

void CRasterTIF::ReadResolution(TIFF* tif) {
    float x = 0;
    float y = 0;
    std::uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double factor = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    if (unit != RESUNIT_NONE && TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) && x > 0)
        SetXDpi(ToDpi(x * factor + 0.5));
    if (unit != RESUNIT_NONE && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y) && y > 0)
        SetYDpi(ToDpi(y * factor + 0.5));
    // Positions are given in resolution units; the picture's offset is in pixels.
    float px = 0;
    float py = 0;
    const bool hasX = TIFFGetField(tif, TIFFTAG_XPOSITION, &px) != 0;
    const bool hasY = TIFFGetField(tif, TIFFTAG_YPOSITION, &py) != 0;
    if (hasX || hasY)
        SetOffset(ToDpi(px * double(GetXDpi()) / factor + 0.5),
                  ToDpi(py * double(GetYDpi()) / factor + 0.5));
}

bool CRasterTIF::ReadPalette(TIFF* tif, Layout& p) {
    if (p.kind == RowKind::Rgb || p.kind == RowKind::Lab || p.kind == RowKind::RgbaReader)
        return true;
    if (p.photometric != PHOTOMETRIC_PALETTE) {
        // Grey ramps; min-is-white runs from white down to black.
        const bool inverted = p.photometric == PHOTOMETRIC_MINISWHITE;
        const DWORD n = 1u << std::min<int>(p.bits, 8);
        for (DWORD i = 0; i < n; ++i) {
            const auto v = static_cast<BYTE>((i * 255 + (n - 1) / 2) / (n - 1));
            const BYTE g = inverted ? static_cast<BYTE>(255 - v) : v;
            SetPaletteColor(i, g, g, g);
        }
        return true;
    }
    if (p.bits > 16)
        return Fail("Too big palette to handle");
    std::uint16_t* red = nullptr;
    std::uint16_t* green = nullptr;
    std::uint16_t* blue = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue))
        return Fail("Palette TIFF without colour map");
    const DWORD n = 1u << p.bits;
    // Colour maps hold 16-bit values; some writers put 8-bit values there instead.
    bool wide = p.bits > 8;
    for (DWORD i = 0; i < n && !wide; ++i)
        wide = red[i] > 255 || green[i] > 255 || blue[i] > 255;
    auto channel = [&](std::uint16_t v) { return wide ? Scale16(v) : static_cast<BYTE>(v); };
    if (p.kind == RowKind::WidePalette) {
        p.lut.resize(std::size_t{n} * 3);
        for (DWORD i = 0; i < n; ++i) {
            p.lut[3 * i] = channel(blue[i]);
            p.lut[3 * i + 1] = channel(green[i]);
            p.lut[3 * i + 2] = channel(red[i]);
        }
        return true;
    }
    for (DWORD i = 0; i < n && i < GetNumColors(); ++i)
        SetPaletteColor(i, channel(red[i]), channel(green[i]), channel(blue[i]));
    return true;
}

bool CRasterTIF::ReadDirect(TIFF* tif, const Layout& p) {
    const std::uint64_t scanline = TIFFScanlineSize64(tif);
    if (scanline == 0)
        return Fail("Corrupted TIFF file!");
    std::uint32_t bandRows = std::min(p.tiled ? p.tileLength : p.rowsPerStrip, p.height);
    // A strip larger than a band is read row by row, a band at a time.
    const bool byRows = !p.tiled && scanline * bandRows > kBandBytes;
    if (byRows)
        bandRows = static_cast<std::uint32_t>(std::max<std::uint64_t>(1, kBandBytes / scanline));
    // Three bytes of slack let SampleAt read a whole window at the row's end.
    const std::uint64_t bandSize = scanline * bandRows + 4;
    if (bandSize > kMaxBuffer)
        return Fail(kPictureOutOfMemory);
    std::vector<BYTE> band(bandSize);
    std::vector<BYTE> tile;
    for (DWORD top = 0; top < p.height; top += bandRows) {
        if (Cancelled())
            return false;
        const DWORD rows = std::min<DWORD>(bandRows, p.height - top);
        if (!(byRows ? ReadScanlines(tif, top, rows, band)
                     : ReadBand(tif, p, top, rows, band, tile)))
            return false;
        for (DWORD r = 0; r < rows; ++r)
            PlaceRow(p, band.data() + r * scanline, top + r);
        SetProgress(top, p.height);
    }
    return true;
}

bool CRasterTIF::FailRead(const char* ours) {
    const std::string said = GetLastError();
    // libtiff refusing a block beyond its limit, or finding no memory, is no damage.
    if (said.find("emory") != std::string::npos || said.find("No space") != std::string::npos)
        return Fail(kPictureOutOfMemory);
    return Fail(said.empty() ? std::string(ours) : said);
}

bool CRasterTIF::ReadScanlines(TIFF* tif, DWORD top, DWORD rows, std::vector<BYTE>& band) {
    const std::uint64_t scanline = TIFFScanlineSize64(tif);
    for (DWORD r = 0; r < rows; ++r)
        if (TIFFReadScanline(tif, band.data() + r * scanline, top + r, 0) < 0)
            return FailRead("Corrupted TIFF file!");
    return true;
}

bool CRasterTIF::ReadBand(TIFF* tif, const Layout& p, DWORD top, DWORD rows,
                          std::vector<BYTE>& band, std::vector<BYTE>& tile) {
    const std::uint64_t scanline = TIFFScanlineSize64(tif);
    const std::uint64_t need = scanline * rows;
    if (!p.tiled) {
        const tmsize_t got = TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, top, 0), band.data(),
                                                  static_cast<tmsize_t>(need));
        if (got < 0)
            return FailRead("Corrupted TIFF file!");
        // A short strip leaves the rest of the band blank, not the previous strip's rows.
        if (static_cast<std::uint64_t>(got) < need)
            std::memset(band.data() + got, 0, need - std::uint64_t(got));
        return true;
    }
    const std::uint64_t pixelBits = std::uint64_t{p.bits} * p.spp;
    const std::uint64_t tileSize = TIFFTileSize64(tif);
    const std::uint64_t tileRow = TIFFTileRowSize64(tif);
    // Only the tile's rows inside the picture are decoded.
    const std::uint64_t wanted = tileRow * std::min<std::uint64_t>(rows, p.tileLength);
    if (tileSize == 0 || wanted > kMaxBuffer || (p.tileWidth * pixelBits) % 8 != 0 ||
        wanted > tileSize)
        return Fail("Corrupted tiled TIFF file!");
    tile.resize(wanted);
    for (std::uint32_t x = 0; x < p.width; x += p.tileWidth) {
        if (TIFFReadEncodedTile(tif, TIFFComputeTile(tif, x, top, 0, 0), tile.data(),
                                static_cast<tmsize_t>(wanted)) < 0)
            return FailRead("Corrupted tiled TIFF file!");
        // Tiles at the right and bottom edges reach past the picture: clip them.
        const std::uint64_t columns = std::min<std::uint64_t>(p.tileWidth, p.width - x);
        const std::uint64_t bytes = (columns * pixelBits + 7) / 8;
        const std::uint64_t at = x * pixelBits / 8;
        for (DWORD r = 0; r < rows; ++r)
            std::memcpy(band.data() + r * scanline + at, tile.data() + r * tileRow, bytes);
    }
    return true;
}

void CRasterTIF::PlaceRow(const Layout& p, const BYTE* in, DWORD top) {
    const DWORD y = GetHeight() - 1 - top;
    BYTE* out = GetBits(y);
    BYTE* alpha = p.alpha ? GetAlphaPointer(0, static_cast<LONG>(y)) : nullptr;
    const DWORD width = GetWidth();
    switch (p.kind) {
    case RowKind::Indices:
        std::memcpy(out, in,
                    std::min<std::uint64_t>(GetStride(), (std::uint64_t{width} * p.bits + 7) / 8));
        break;
    case RowKind::Samples: {
        const int shift = p.bits > 8 ? p.bits - 8 : 0;
        for (DWORD x = 0; x < width; ++x)
            out[x] = static_cast<BYTE>(SampleAt(in, x, p.bits) >> shift);
        break;
    }
    case RowKind::GreyAlpha: {
        const int shift = p.bits - 8;
        for (DWORD x = 0; x < width; ++x) {
            out[x] = static_cast<BYTE>(SampleAt(in, 2 * std::uint64_t{x}, p.bits) >> shift);
            alpha[x] = static_cast<BYTE>(SampleAt(in, 2 * std::uint64_t{x} + 1, p.bits) >> shift);
        }
        break;
    }
    case RowKind::WidePalette:
        for (DWORD x = 0; x < width; ++x)
            std::memcpy(out + 3 * x, &p.lut[3 * std::size_t{SampleAt(in, x, p.bits)}], 3);
        break;
    case RowKind::Lab:
        for (DWORD x = 0; x < width; ++x, in += p.spp)
            LabToBgr(in[0], in[1], in[2], out + 3 * x);
        break;
    case RowKind::Rgb: {
        const bool premultiplied = p.extra == EXTRASAMPLE_ASSOCALPHA && p.extraCount > 0;
        for (DWORD x = 0; x < width; ++x, in += p.spp, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            if (alpha == nullptr)
                continue;
            alpha[x] = in[3];
            if (premultiplied)
                for (int c = 0; c < 3; ++c)
                    out[c] = StraightColour(out[c], in[3]);
        }
        break;
    }
    case RowKind::RgbaReader:
        break;
    }
}

namespace {

struct RgbaImageEnd {
    void operator()(TIFFRGBAImage* img) const { TIFFRGBAImageEnd(img); }
};

} // namespace

// libtiff's reader yields every other layout as premultiplied RGBA. It reads a band of whole
// strips or tiles at a time, in the file's own row order, so the rows are turned afterwards
// as those of the direct path are.
bool CRasterTIF::ReadRgba(TIFF* tif, const Layout& p) {
    constexpr DWORD kBandRows = 64;
    char message[1024] = {};
    TIFFRGBAImage img{};
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&img, tif, 0, message))
        return Fail(*message ? message : "Corrupted TIFF file!");
    const std::unique_ptr<TIFFRGBAImage, RgbaImageEnd> end(&img);
    img.req_orientation = img.orientation;
    const DWORD unit = std::min(p.tiled ? p.tileLength : p.rowsPerStrip, p.height);
    const DWORD bandRows = std::min<DWORD>(p.height, unit * std::max<DWORD>(1, kBandRows / unit));
    const std::uint64_t count = std::uint64_t{p.width} * bandRows;
    if (count * 4 > kMaxBuffer)
        return Fail("No space for raster buffer");
    std::vector<std::uint32_t> band(count);
    for (DWORD top = 0; top < p.height; top += bandRows) {
        if (Cancelled())
            return false;
        const DWORD rows = std::min(bandRows, p.height - top);
        img.row_offset = static_cast<int>(top);
        img.col_offset = 0;
        if (!TIFFRGBAImageGet(&img, band.data(), p.width, rows))
            return FailRead("Corrupted TIFF file!");
        for (DWORD r = 0; r < rows; ++r)
            PlaceRgbaRow(p, band.data() + std::uint64_t{r} * p.width, top + r);
        SetProgress(top, p.height);
    }
    return true;
}

void CRasterTIF::PlaceRgbaRow(const Layout& p, const std::uint32_t* in, DWORD top) {
    const bool straighten =
        p.alpha && p.extraCount > 0 &&
        (p.extra == EXTRASAMPLE_ASSOCALPHA || p.extra == EXTRASAMPLE_UNASSALPHA);
    const DWORD y = p.height - 1 - top;
    BYTE* out = GetBits(y);
    BYTE* alpha = p.alpha ? GetAlphaPointer(0, static_cast<LONG>(y)) : nullptr;
    for (DWORD x = 0; x < p.width; ++x, out += 3) {
        const std::uint32_t v = in[x];
        const auto a = static_cast<BYTE>(TIFFGetA(v));
        out[0] = static_cast<BYTE>(TIFFGetB(v));
        out[1] = static_cast<BYTE>(TIFFGetG(v));
        out[2] = static_cast<BYTE>(TIFFGetR(v));
        if (alpha == nullptr)
            continue;
        alpha[x] = a;
        if (straighten)
            for (int c = 0; c < 3; ++c)
                out[c] = StraightColour(out[c], a);
    }
}

// Turns the picture as its orientation asks (TIFF 6.0; 5 to 8 store the picture
// transposed).
bool CRasterTIF::Orient(int orientation) {
    switch (orientation) {
    case ORIENTATION_TOPRIGHT:
        return Mirror();
    case ORIENTATION_BOTRIGHT:
        return Flip() && Mirror();
    case ORIENTATION_BOTLEFT:
        return Flip();
    case ORIENTATION_LEFTTOP:
        return RotateRight() && Mirror();
    case ORIENTATION_RIGHTTOP:
        return RotateRight();
    case ORIENTATION_RIGHTBOT:
        return RotateLeft() && Mirror();
    case ORIENTATION_LEFTBOT:
        return RotateLeft();
    default:
        return true;
    }
}
