#include "image/metafile/MetafileDib.h"

#include "image/core/CRaster.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace MetafileDib {

namespace {

// The source rectangle of a whole bitmap picture, when that lies inside it.
bool Cut(LONG x, LONG y, LONG cx, LONG cy, bool fromBottom, CRaster& out) {
    const LONG width = LONG(out.GetWidth()), height = LONG(out.GetHeight());
    if (cx <= 0 || cy <= 0 || x < 0 || y < 0 || cx > width - x || cy > height - y)
        return true; // anything unusual: the whole bitmap
    if (x == 0 && y == 0 && cx == width && cy == height)
        return true;
    const LONG top = fromBottom ? height - y - cy : y;
    return out.Crop(x, top, x + cx, top + cy);
}

// Bytes a decoded pixel takes at most: palette pictures keep an index, others three
// channels and an opacity.
std::uint64_t DecodedBytes(unsigned bits) {
    return bits <= 8 ? 1 : 4;
}

constexpr DWORD kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6;

// Sums of colours over the pixels counted, for an average.
struct Sums {
    std::uint64_t r = 0, g = 0, b = 0, n = 0;
    void Add(const BYTE* bgr, std::uint64_t times) {
        b += bgr[0] * times;
        g += bgr[1] * times;
        r += bgr[2] * times;
        n += times;
    }
    std::optional<COLORREF> Average() const {
        if (n == 0)
            return std::nullopt;
        return RGB(BYTE(r / n), BYTE(g / n), BYTE(b / n));
    }
};

class Sampler {
public:
    Sampler(std::span<const BYTE> dib, const Header& h) : dib_(dib), h_(h) {}

    void AddIndex(unsigned index, std::uint64_t times) {
        const std::uint64_t at = h_.palette + std::uint64_t{index} * h_.entryBytes;
        if (index < h_.colours && at + 3 <= dib_.size())
            sums_.Add(&dib_[std::size_t(at)], times);
    }

    // A grid of at most 64 x 64 pixels of an uncompressed bitmap.
    void Grid() {
        const std::uint64_t width = std::uint64_t(h_.width),
                            rows = std::uint64_t(std::llabs(h_.height));
        const std::uint64_t stride = (width * h_.bits + 31) / 32 * 4;
        if (h_.pixels > dib_.size() || stride * rows > dib_.size() - h_.pixels)
            return;
        const std::uint64_t nx = std::min<std::uint64_t>(width, 64),
                            ny = std::min<std::uint64_t>(rows, 64);
        for (std::uint64_t j = 0; j < ny; ++j) {
            const BYTE* row = &dib_[std::size_t(h_.pixels + j * rows / ny * stride)];
            for (std::uint64_t i = 0; i < nx; ++i)
                Pixel(row, i * width / nx);
        }
    }

    // Every run of a run-length bitmap, weighted by its length; what deltas and line ends skip
    // is not counted.
    void Runs() {
        const bool four = h_.compression == kRle4;
        std::size_t at = std::size_t(std::min<std::uint64_t>(h_.pixels, dib_.size()));
        while (at + 1 < dib_.size()) {
            const unsigned count = dib_[at], value = dib_[at + 1];
            at += 2;
            if (count != 0) {
                if (four) {
                    AddIndex(value >> 4, (count + 1) / 2);
                    AddIndex(value & 15, count / 2);
                } else {
                    AddIndex(value, count);
                }
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                at += 2;
            } else if (value > 2) {
                const std::size_t bytes = four ? (value + 1) / 2 : value;
                for (std::size_t k = 0; k < bytes && at + k < dib_.size(); ++k) {
                    if (four) {
                        AddIndex(dib_[at + k] >> 4, 1);
                        if (2 * k + 1 < value)
                            AddIndex(dib_[at + k] & 15, 1);
                    } else {
                        AddIndex(dib_[at + k], 1);
                    }
                }
                at += (bytes + 1) & ~std::size_t{1};
            }
        }
    }

    std::optional<COLORREF> Average() const { return sums_.Average(); }

private:
    void Pixel(const BYTE* row, std::uint64_t x) {
        switch (h_.bits) {
        case 1:
        case 4:
        case 8: {
            const std::uint64_t bit = x * h_.bits;
            const unsigned byte = row[bit / 8];
            AddIndex((byte >> (8 - h_.bits - bit % 8)) & ((1u << h_.bits) - 1), 1);
            break;
        }
        case 16: { // five bits a channel
            const unsigned v = GetLittleEndian<WORD>(row + x * 2);
            const BYTE bgr[3] = {BYTE((v & 31) * 255 / 31), BYTE(((v >> 5) & 31) * 255 / 31),
                                 BYTE(((v >> 10) & 31) * 255 / 31)};
            sums_.Add(bgr, 1);
            break;
        }
        case 24:
        case 32:
            sums_.Add(row + x * (h_.bits / 8), 1);
            break;
        default:
            break;
        }
    }

    std::span<const BYTE> dib_;
    const Header& h_;
    Sums sums_;
};

} // namespace

bool ReadHeader(std::span<const BYTE> dib, Header& h) {
    if (dib.size() < 16)
        return false;
    const DWORD size = GetLittleEndian<DWORD>(&dib[0]);
    if (size == 12) {
        h.width = GetLittleEndian<WORD>(&dib[4]);
        h.height = GetLittleEndian<WORD>(&dib[6]);
        h.bits = GetLittleEndian<WORD>(&dib[10]);
        h.compression = kRgb;
        h.entryBytes = 3;
        h.colours = h.bits <= 8 ? 1u << h.bits : 0;
        h.palette = size;
    } else if (size >= 40 && size <= dib.size()) {
        h.width = std::int32_t(GetLittleEndian<DWORD>(&dib[4]));
        h.height = std::int32_t(GetLittleEndian<DWORD>(&dib[8]));
        h.bits = GetLittleEndian<WORD>(&dib[14]);
        h.compression = GetLittleEndian<DWORD>(&dib[16]);
        const std::uint64_t used = GetLittleEndian<DWORD>(&dib[32]);
        h.entryBytes = 4;
        h.colours = used != 0 ? used : h.bits <= 8 ? 1u << h.bits : 0;
        const std::uint64_t masks = size != 40                         ? 0
                                    : h.compression == kBitfields      ? 12
                                    : h.compression == kAlphaBitfields ? 16
                                                                       : 0;
        h.palette = size + masks;
    } else {
        return false;
    }
    h.pixels = h.palette + h.colours * h.entryBytes;
    return h.width > 0 && h.height != 0 && h.bits <= 32;
}

bool Picture(MetafileCanvas& canvas, std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy,
             bool fromBottom, CRaster& out, unsigned copies) {
    Header h;
    if (dib.empty() || !ReadHeader(dib, h) ||
        !canvas.ChargeBitmap(std::uint64_t(h.width), std::uint64_t(std::llabs(h.height)),
                             DecodedBytes(h.bits) * copies))
        return false;
    return out.CreateFromGlobalDib(dib) && Cut(x, y, cx, cy, fromBottom, out);
}

bool SplitOpacity(std::span<const BYTE> dib, LONG x, LONG y, LONG cx, LONG cy, bool fromBottom,
                  CRaster& colour, CRaster& opacity) {
    if (dib.size() < 40)
        return false;
    const DWORD header = GetLittleEndian<DWORD>(&dib[0]),
                compression = GetLittleEndian<DWORD>(&dib[16]);
    const std::int64_t width = std::int32_t(GetLittleEndian<DWORD>(&dib[4]));
    const std::int64_t height = std::int32_t(GetLittleEndian<DWORD>(&dib[8]));
    const std::int64_t rows = height < 0 ? -height : height;
    const std::uint64_t colours = GetLittleEndian<DWORD>(&dib[32]);
    if (GetLittleEndian<WORD>(&dib[14]) != 32 || (compression != 0 && compression != 3) ||
        width <= 0 || rows <= 0 || header < 40 || header > dib.size() || colours > 256)
        return false;
    const std::uint64_t bits = header + (compression == 3 && header == 40 ? 12 : 0) + colours * 4;
    if (bits > dib.size() || std::uint64_t(width) * std::uint64_t(rows) * 4 > dib.size() - bits ||
        !colour.Create(DWORD(width), DWORD(rows), 24) ||
        !opacity.Create(DWORD(width), DWORD(rows), 24))
        return false;
    for (std::int64_t row = 0; row < rows; ++row) {
        const BYTE* p = &dib[std::size_t(bits + std::uint64_t(row * width * 4))];
        const LONG y = LONG(height < 0 ? rows - 1 - row : row); // counted from the bottom
        for (std::int64_t col = 0; col < width; ++col) {
            const BYTE* px = p + col * 4;
            colour.SetPixelColor(LONG(col), y, RGBQUAD{px[0], px[1], px[2], 0});
            opacity.SetPixelColor(LONG(col), y, RGBQUAD{px[3], px[3], px[3], 0});
        }
    }
    return Cut(x, y, cx, cy, fromBottom, colour) && Cut(x, y, cx, cy, fromBottom, opacity);
}

std::vector<BYTE> FromBitmap16(std::span<const BYTE> bitmap, COLORREF zero, COLORREF one) {
    if (bitmap.size() < 10)
        return {};
    const std::int64_t width = std::int16_t(GetLittleEndian<WORD>(&bitmap[2]));
    const std::int64_t height = std::int16_t(GetLittleEndian<WORD>(&bitmap[4]));
    const std::int64_t rowBytes = std::int16_t(GetLittleEndian<WORD>(&bitmap[6]));
    const unsigned planes = bitmap[8], bits = bitmap[9];
    if (width <= 0 || height <= 0 || planes != 1 || (bits != 1 && bits != 24 && bits != 32) ||
        rowBytes < (width * bits + 7) / 8 || rowBytes * height > std::int64_t(bitmap.size()) - 10)
        return {};
    const std::int64_t stride = (width * bits + 31) / 32 * 4;
    std::vector<BYTE> dib(40);
    auto put32 = [&](std::size_t at, DWORD v) {
        for (int i = 0; i < 4; ++i)
            dib[at + std::size_t(i)] = BYTE(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, DWORD(width));
    put32(8, DWORD(height));
    put32(12, 1 | (bits << 16));
    if (bits == 1) {
        for (COLORREF c : {zero, one})
            dib.insert(dib.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    for (std::int64_t y = height - 1; y >= 0; --y) { // bottom row first
        const BYTE* row = &bitmap[std::size_t(10 + y * rowBytes)];
        dib.insert(dib.end(), row, row + std::min(rowBytes, stride));
        dib.insert(dib.end(), std::size_t(std::max<std::int64_t>(0, stride - rowBytes)), 0);
    }
    return dib;
}

void Pattern(MetafileCanvas& canvas, std::span<const BYTE> dib, MetafileCanvas::Object& brush) {
    Header h;
    if (dib.empty() || !ReadHeader(dib, h))
        return;
    const std::uint64_t width = std::uint64_t(h.width), rows = std::uint64_t(std::llabs(h.height));
    constexpr std::uint64_t kSide = MetafileCanvas::Pattern::kMaxPatternSide;
    if (width > kSide || rows > kSide) {
        Sampler sample(dib, h);
        if (h.compression == kRgb && canvas.Charge(64 * 64))
            sample.Grid();
        else if ((h.compression == kRle8 || h.compression == kRle4) && canvas.Charge(dib.size()))
            sample.Runs();
        if (const auto average = sample.Average())
            brush.brush.lbColor = *average;
        return;
    }
    CRaster picture;
    if (!canvas.ChargeBitmap(width, rows, 4) || !picture.CreateFromGlobalDib(dib))
        return;
    Sums sums;
    const DWORD w = picture.GetWidth(), ht = picture.GetHeight();
    for (DWORD y = 0; y < ht; ++y) {
        for (DWORD x = 0; x < w; ++x) {
            const RGBQUAD c = picture.GetPixelColor(LONG(x), LONG(y), false);
            const BYTE bgr[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
            sums.Add(bgr, 1);
        }
    }
    const auto average = sums.Average();
    if (!average)
        return;
    brush.brush.lbColor = *average;
    brush.pattern = MetafileCanvas::Pattern::From(picture);
}

} // namespace MetafileDib
