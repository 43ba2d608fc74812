#include "image/CRasterGIF.h"

#include "image/CRasterFile.h"
#include "image/GifLzwDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr BYTE kExtension = 0x21;
constexpr BYTE kImage = 0x2C;
constexpr BYTE kTrailer = 0x3B;
// Decoding reads the whole remaining stream; a GIF past this size is refused outright.
constexpr std::uint64_t kMaxFileBytes = 1ull << 30;
constexpr std::uint64_t kMosaicOverlap = 4;
// LZW gives at most some 2,700 pixels per byte of data; a screen larger than this many pixels
// per byte of the file cannot be filled by it.
constexpr std::uint64_t kPixelsPerByte = 4096;

int U16(std::span<const BYTE> d, std::size_t pos) {
    return d[pos] | (d[pos + 1] << 8);
}

// Skips data sub-blocks up to and past the empty one; false when the data ends first.
bool SkipSubBlocks(std::span<const BYTE> data, std::size_t& pos) {
    while (pos < data.size()) {
        const BYTE n = data[pos++];
        if (n == 0)
            return true;
        pos += n;
    }
    pos = data.size();
    return false;
}

int DepthForColors(std::size_t n) {
    return n <= 2 ? 1 : n <= 16 ? 4 : 8;
}

// Image rows in the order an interlaced frame stores them.
std::vector<int> InterlacedRows(int height) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int r = starts[pass]; r < height; r += steps[pass])
            rows.push_back(r);
    return rows;
}

bool ReadTable(std::span<const BYTE> data, std::size_t& pos, int flags,
               std::vector<RGBQUAD>& table) {
    const std::size_t n = std::size_t(2) << (flags & 7);
    if (pos + 3 * n > data.size())
        return false;
    table.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        table[i].rgbRed = data[pos + 3 * i];
        table[i].rgbGreen = data[pos + 3 * i + 1];
        table[i].rgbBlue = data[pos + 3 * i + 2];
        table[i].rgbReserved = 0;
    }
    pos += 3 * n;
    return true;
}

// A frame shows when some of it lies on the screen; the part outside is clipped away.
bool OnScreen(int left, int top, int width, int height, int screenW, int screenH) {
    return width > 0 && height > 0 && left < screenW && top < screenH;
}

// The block walk's resynchronisation: after stray bytes only a 0 byte re-arms the
// recognition of introducers.
class Resync {
public:
    // True when `b` is to be taken as an introducer.
    bool Accept(BYTE b) {
        if (!armed_) {
            armed_ = b == 0;
            return false;
        }
        if (b == kExtension || b == kImage || b == kTrailer)
            return true;
        armed_ = b == 0;
        return false;
    }

private:
    bool armed_ = true;
};

} // namespace

bool CRasterGIF::Decode(CRasterFile& file, const DecodeOptions& /*options*/) {
    const std::uint64_t left = BytesLeft(file);
    if (left < 13)
        return Fail("GIF file too short");
    if (left > kMaxFileBytes)
        return Fail("GIF file too large");
    std::vector<BYTE> data(static_cast<std::size_t>(left));
    if (!ReadExact(file, data.data(), data.size()))
        return Fail("GIF file could not be read");
    return DecodeBytes(data);
}

int CRasterGIF::CountFrames(std::span<const BYTE> data, std::size_t pos, int& screenW, int& screenH,
                            bool& restoresPrevious) {
    restoresPrevious = false;
    int count = 0;
    Resync resync;
    while (pos < data.size()) {
        const BYTE b = data[pos++];
        if (!resync.Accept(b))
            continue;
        if (b == kTrailer)
            break;
        if (b == kExtension) {
            if (pos + 3 <= data.size() && data[pos] == 0xF9 && data[pos + 1] == 4 &&
                ((data[pos + 2] >> 2) & 7) == 3)
                restoresPrevious = true;
            if (++pos > data.size() || !SkipSubBlocks(data, pos))
                break;
            continue;
        }
        if (pos + 9 > data.size())
            break;
        const int x = U16(data, pos), y = U16(data, pos + 2);
        const int w = U16(data, pos + 4), h = U16(data, pos + 6);
        const int flags = data[pos + 8];
        pos += 9;
        if (flags & 0x80)
            pos += 3 * (std::size_t(2) << (flags & 7));
        if (screenW == 0 && screenH == 0) {
            screenW = w;
            screenH = h;
        }
        if (OnScreen(x, y, w, h, screenW, screenH))
            ++count;
        ++pos; // minimum code size
        if (pos > data.size() || !SkipSubBlocks(data, pos))
            break;
    }
    return count;
}

bool CRasterGIF::ReadExtension(std::span<const BYTE> data, std::size_t& pos, Control& control) {
    if (pos >= data.size())
        return false;
    const BYTE label = data[pos++];
    if (pos >= data.size())
        return false;
    const std::size_t size = data[pos++];
    if (pos + size > data.size())
        return false;
    const BYTE* block = data.data() + pos;
    pos += size;
    switch (label) {
    case 0xF9:
        if (size == 4) {
            control.flags = block[0];
            control.delay = static_cast<WORD>(block[1] | (block[2] << 8));
            control.transparentIndex = block[3];
            control.seen = true;
        }
        break;
    case 0xFE:
        Info().gifComment.assign(reinterpret_cast<const char*>(block), size);
        break;
    case 0xFF:
        if (size == 11 && (std::memcmp(block, "NETSCAPE2.0", 11) == 0 ||
                           std::memcmp(block, "ANIMEXTS1.0", 11) == 0)) {
            if (pos < data.size() && data[pos] > 2 && pos + 1 + data[pos] <= data.size()) {
                // Stored is the repeat count; the picture keeps what the writer takes.
                const LONG repeat = data[pos + 2] | (data[pos + 3] << 8);
                Info().gifLoops = repeat == 0 ? 0 : repeat + 1;
            }
        }
        break;
    default:
        break;
    }
    // The label's first block was read above; what follows are further sub-blocks, and the
    // first block's size byte itself may be the terminator.
    if (size == 0)
        return true;
    return SkipSubBlocks(data, pos);
}

bool CRasterGIF::ReadDescriptor(std::span<const BYTE> data, std::size_t& pos,
                                const std::vector<RGBQUAD>& global, Frame& frame) {
    if (pos + 9 > data.size())
        return false;
    frame.left = U16(data, pos);
    frame.top = U16(data, pos + 2);
    frame.width = U16(data, pos + 4);
    frame.height = U16(data, pos + 6);
    const int flags = data[pos + 8];
    pos += 9;
    frame.interlaced = (flags & 0x40) != 0;
    if (flags & 0x80) {
        if (!ReadTable(data, pos, flags, frame.palette))
            return false;
    } else {
        frame.palette = global;
    }
    frame.bpp = DepthForColors(frame.palette.size());
    frame.dataStart = pos;
    return pos < data.size();
}

namespace {

// What a frame adds to one pixel of the screen, kept per pixel while composing.
enum Coverage : BYTE { kUncovered = 0, kCovered = 1, kSupplied = 2 };

} // namespace

struct CRasterGIF::Composition {
    int screenW = 0;
    int screenH = 0;
    bool restoresPrevious = false;
    bool mosaic = false;
    LONG firstTransparent = -1;
    bool anyTransparent = false; // some frame so far has a transparent index
    int previousDisposal = 0;
    RGBQUAD mosaicTransparent{};
    std::uint64_t work = 0;
    std::uint64_t budget = 0;
    std::uint64_t supplied = 0; // pixels the frames' data gave so far
    std::vector<BYTE> coverage; // a Coverage per screen pixel, top row first
    std::unique_ptr<CRaster> result;
    std::unique_ptr<CRaster> previous;

    std::uint64_t Area() const { return std::uint64_t(screenW) * std::uint64_t(screenH); }
};

// Every step of the composition is paid for out of a budget that grows with the file, so a
// few bytes cannot make the decoder churn through huge pictures.
bool CRasterGIF::Charge(Composition& c, std::uint64_t pixels) {
    c.work += pixels;
    return c.work <= c.budget || FailLargerThanData();
}

bool CRasterGIF::StartBackground(Composition& c, const Frame& frame, LONG transparent, bool first) {
    const DWORD w = static_cast<DWORD>(c.screenW), h = static_cast<DWORD>(c.screenH);
    if (c.mosaic) {
        if (c.result)
            return true;
        if (!Charge(c, c.Area()))
            return false;
        c.result = std::make_unique<CRaster>();
        if (!c.result->Create(w, h, 24, kTypeGif))
            return Fail(c.result->GetLastError());
        c.coverage.assign(static_cast<std::size_t>(c.Area()), kUncovered);
        return true;
    }
    std::unique_ptr<CRaster> background;
    if (first) {
        if (!Charge(c, c.Area() * (c.restoresPrevious ? 2 : 1)))
            return false;
        background = std::make_unique<CRaster>();
        if (!background->CreateForOverwrite(w, h, static_cast<DWORD>(frame.bpp), kTypeGif))
            return Fail(background->GetLastError());
        background->Clear(static_cast<BYTE>(transparent >= 0 ? transparent : 0));
        c.firstTransparent = transparent;
        c.coverage.assign(static_cast<std::size_t>(c.Area()), kUncovered);
        if (c.restoresPrevious)
            c.previous = std::make_unique<CRaster>(*background);
    } else if (c.previousDisposal == 2) {
        if (!Charge(c, c.Area()))
            return false;
        background = std::move(c.result);
        background->Clear(static_cast<BYTE>(c.firstTransparent >= 0 ? c.firstTransparent : 0));
    } else if (c.previousDisposal == 3 && c.previous) {
        if (!Charge(c, c.Area()))
            return false;
        background = std::make_unique<CRaster>(*c.previous);
    } else {
        // The composed picture so far is not needed apart from its successor.
        background = std::move(c.result);
    }
    // A later frame with a larger table must not lose its upper indices.
    if (frame.bpp > background->GetBpp()) {
        if (!Charge(c, c.Area()))
            return false;
        if (!background->IncreaseBpp(static_cast<DWORD>(frame.bpp)))
            return Fail(background->GetLastError());
    }
    c.result = std::move(background);
    return true;
}

namespace {

// Walks the supplied pixels of a frame row by row over the part that lies on the screen:
// f(screen row, the pixels of that row that lie on the screen, from the frame's left edge).
template <class F>
void ForClippedRows(int screenW, int screenH, int left, int top, int width, int height,
                    bool interlaced, std::span<const BYTE> pixels, F f) {
    const std::vector<int> order = interlaced ? InterlacedRows(height) : std::vector<int>();
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t clipW = static_cast<std::size_t>(std::min(width, screenW - left));
    std::size_t fileRow = 0;
    for (std::size_t k = 0; k < pixels.size(); k += w, ++fileRow) {
        const int row = top + (interlaced ? order[fileRow] : static_cast<int>(fileRow));
        if (row >= screenH)
            continue;
        f(row, pixels.subspan(k, std::min(clipW, pixels.size() - k)));
    }
}

// Pixel x of a storage row at 1, 4 or 8 bits, most significant bits first.
void PutIndex(BYTE* row, std::size_t x, int bpp, BYTE index) {
    if (bpp == 8) {
        row[x] = index;
    } else if (bpp == 4) {
        BYTE& b = row[x >> 1];
        b = (x & 1) ? static_cast<BYTE>((b & 0xF0) | (index & 0x0F))
                    : static_cast<BYTE>((b & 0x0F) | (index << 4));
    } else {
        const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
        BYTE& b = row[x >> 3];
        b = static_cast<BYTE>((index & 1) ? b | bit : b & ~bit);
    }
}

// Marks the frame's rectangle, as far as it lies on the screen, as covered.
void MarkCovered(std::vector<BYTE>& coverage, int screenW, int screenH, int left, int top,
                 int width, int height) {
    const int right = std::min(screenW, left + width);
    const int bottom = std::min(screenH, top + height);
    for (int y = top; y < bottom; ++y) {
        BYTE* p = coverage.data() + std::size_t(y) * std::size_t(screenW);
        for (int x = left; x < right; ++x)
            p[x] = std::max<BYTE>(p[x], kCovered);
    }
}

} // namespace

void CRasterGIF::PasteMosaicTile(Composition& c, const Frame& frame, std::span<const BYTE> pixels,
                                 const std::array<RGBQUAD, 256>& palette) {
    MarkCovered(c.coverage, c.screenW, c.screenH, frame.left, frame.top, frame.width, frame.height);
    const BYTE mask = static_cast<BYTE>((1 << frame.bpp) - 1);
    CRaster& out = *c.result;
    ForClippedRows(c.screenW, c.screenH, frame.left, frame.top, frame.width, frame.height,
                   frame.interlaced, pixels, [&](int row, std::span<const BYTE> line) {
                       BYTE* bits = out.GetBits(static_cast<DWORD>(c.screenH - 1 - row)) +
                                    3 * std::size_t(frame.left);
                       BYTE* cover = c.coverage.data() + std::size_t(row) * c.screenW + frame.left;
                       for (std::size_t x = 0; x < line.size(); ++x) {
                           const RGBQUAD& colour = palette[line[x] & mask];
                           bits[3 * x] = colour.rgbBlue;
                           bits[3 * x + 1] = colour.rgbGreen;
                           bits[3 * x + 2] = colour.rgbRed;
                           cover[x] = kSupplied;
                       }
                   });
}

void CRasterGIF::ComposeFrame(Composition& c, const Frame& frame, std::span<const BYTE> pixels,
                              LONG transparent, const std::array<RGBQUAD, 256>& palette) {
    MarkCovered(c.coverage, c.screenW, c.screenH, frame.left, frame.top, frame.width, frame.height);
    const BYTE mask = static_cast<BYTE>((1 << frame.bpp) - 1);
    CRaster& out = *c.result;
    const int bpp = out.GetBpp();
    ForClippedRows(c.screenW, c.screenH, frame.left, frame.top, frame.width, frame.height,
                   frame.interlaced, pixels, [&](int row, std::span<const BYTE> line) {
                       BYTE* bits = out.GetBits(static_cast<DWORD>(c.screenH - 1 - row));
                       BYTE* cover = c.coverage.data() + std::size_t(row) * c.screenW + frame.left;
                       for (std::size_t x = 0; x < line.size(); ++x) {
                           const BYTE index = line[x] & mask;
                           if (static_cast<LONG>(index) == transparent)
                               continue;
                           PutIndex(bits, std::size_t(frame.left) + x, bpp, index);
                           cover[x] = kSupplied;
                       }
                   });
    out.SetPalette(palette.data(), out.GetNumColors());
    out.SetTransparentIndex(c.firstTransparent);
}

// Pixels that no frame supplied stay transparent: those inside a frame whose data ended
// early, and, when the file has a transparent index, those no frame covers. Without a
// transparent index to show them by, they get an alpha plane.
std::unique_ptr<CRaster> CRasterGIF::Finished(Composition& c, bool copy) {
    auto image = copy ? std::make_unique<CRaster>(*c.result) : std::move(c.result);
    if (!c.mosaic && c.firstTransparent >= 0)
        return image;
    const bool keyed = c.mosaic && c.anyTransparent;
    auto hidden = [&](BYTE cover) {
        return cover == kCovered || (cover == kUncovered && c.anyTransparent);
    };
    if (std::none_of(c.coverage.begin(), c.coverage.end(), hidden))
        return image;
    if (!keyed && !image->CreateAlpha())
        return image;
    for (int row = 0; row < c.screenH; ++row) {
        const LONG y = c.screenH - 1 - row;
        const BYTE* cover = c.coverage.data() + std::size_t(row) * c.screenW;
        for (int x = 0; x < c.screenW; ++x) {
            if (!hidden(cover[x]))
                continue;
            if (keyed)
                image->BlindSetPixelColor(x, y, c.mosaicTransparent);
            else
                image->SetAlpha(x, y, 0);
        }
    }
    return image;
}

bool CRasterGIF::DecodeBytes(std::span<const BYTE> data) {
    if (data.size() < 13 || std::memcmp(data.data(), "GIF8", 4) != 0)
        return Fail("Not a GIF file");
    Composition c;
    c.screenW = U16(data, 6);
    c.screenH = U16(data, 8);
    const int screenFlags = data[10];
    std::size_t pos = 13;
    std::vector<RGBQUAD> global;
    if (HeaderOnly()) {
        SetHeaderOnly(static_cast<DWORD>(c.screenW), static_cast<DWORD>(c.screenH), 8);
        SetType(kTypeGif);
        return true;
    }
    Info().gifComment.clear();
    Info().gifLoops = 1; // no loop block: shown once
    if ((screenFlags & 0x80) && !ReadTable(data, pos, screenFlags, global))
        return Fail("Truncated GIF colour table");
    int trueColorCounter = global.empty() ? 1 : 0;
    const int count = CountFrames(data, pos, c.screenW, c.screenH, c.restoresPrevious);
    Info().numFrames = count;
    LONG requested = Info().frame;
    if (count == 0)
        return Fail("GIF holds no picture on its screen");
    if (requested < 0 || requested >= count)
        return Fail("GIF frame not found");
    if (count == 1)
        trueColorCounter = 0;
    if (c.Area() > kPixelsPerByte * data.size())
        return FailLargerThanData();
    c.budget = 2 * kPixelsPerByte * data.size();

    Control control;
    int frameIndex = 0;
    std::uint64_t mosaicArea = 0;
    std::vector<std::unique_ptr<CRaster>> frames;
    Resync resync;
    while (pos < data.size()) {
        const BYTE b = data[pos++];
        if (Cancelled())
            return false;
        if (!resync.Accept(b))
            continue;
        if (b == kTrailer)
            break;
        if (b == kExtension) {
            if (!ReadExtension(data, pos, control))
                break;
            continue;
        }
        Frame frame;
        if (!ReadDescriptor(data, pos, global, frame))
            break;
        if (!OnScreen(frame.left, frame.top, frame.width, frame.height, c.screenW, c.screenH)) {
            ++pos;
            if (!SkipSubBlocks(data, pos))
                break;
            continue;
        }
        const bool first = frameIndex == 0;
        if (first && (frame.width != c.screenW || frame.height != c.screenH))
            ++trueColorCounter;
        if (first) {
            c.mosaic = trueColorCounter > 1;
            if (c.mosaic)
                requested = count - 1;
        }
        // A mosaic's tiles cover the picture once; a file whose tiles would cover it many
        // times over only makes the decoder churn through huge frames.
        const std::uint64_t clipped = std::uint64_t(std::min(frame.width, c.screenW - frame.left)) *
                                      std::uint64_t(std::min(frame.height, c.screenH - frame.top));
        mosaicArea += clipped;
        if (c.mosaic && mosaicArea > kMosaicOverlap * c.Area() + (1u << 20))
            return Fail("GIF tiles overlap the picture too often");
        LONG transparent = control.seen && (control.flags & 1) ? control.transparentIndex : -1;
        if (transparent >= static_cast<LONG>(frame.palette.size()))
            transparent = -1;
        c.anyTransparent |= transparent >= 0;
        const auto decoded = GifLzwDecoder::Decode(data.subspan(frame.dataStart),
                                                   static_cast<std::size_t>(frame.width) *
                                                       static_cast<std::size_t>(frame.height));
        if (decoded.status == GifLzwDecoder::Status::BadCodeSize)
            return Fail("GIF frame has an unusable LZW code size");
        pos = frame.dataStart + decoded.end;
        if (!Charge(c, clipped + decoded.pixels.size()) ||
            !StartBackground(c, frame, transparent, first))
            return false;
        std::array<RGBQUAD, 256> palette{};
        std::copy_n(frame.palette.begin(), std::min<std::size_t>(frame.palette.size(), 256),
                    palette.begin());
        if (transparent >= 0)
            for (std::size_t i = frame.palette.size(); i < (std::size_t(1) << frame.bpp); ++i)
                palette[i] = RGBQUAD{255, 255, 255, 0};
        if (c.mosaic) {
            if (transparent >= 0)
                c.mosaicTransparent = palette[static_cast<std::size_t>(transparent)];
            PasteMosaicTile(c, frame, decoded.pixels, palette);
        } else {
            ComposeFrame(c, frame, decoded.pixels, transparent, palette);
        }
        c.supplied += decoded.pixels.size();
        c.previousDisposal = (control.flags >> 2) & 7;
        Info().frameDelay = control.delay;
        Info().disposal = static_cast<BYTE>(c.previousDisposal);
        if (Info().retrieveAllFrames && !c.mosaic) {
            if (!Charge(c, c.Area()))
                return false;
            auto copy = Finished(c, true);
            copy->Info().retrieveAllFrames = 0;
            frames.push_back(std::move(copy));
        }
        if (!c.mosaic && c.restoresPrevious &&
            (c.previousDisposal == 0 || c.previousDisposal == 1)) {
            if (!Charge(c, c.Area()))
                return false;
            c.previous = std::make_unique<CRaster>(*c.result);
        }
        if (frameIndex++ == requested)
            break;
    }
    if (!c.result)
        return Fail("GIF frame data missing");
    if (c.supplied == 0)
        return Fail("GIF frame holds no pixel data");
    if (!Charge(c, c.Area()))
        return false;
    std::unique_ptr<CRaster> result = Finished(c, false);
    if (c.mosaic && c.anyTransparent) {
        result->SetTransparentColor(c.mosaicTransparent);
        result->SetTransparentIndex(0);
    }
    return Adopt(std::move(result), frames);
}

bool CRasterGIF::Adopt(std::unique_ptr<CRaster> result,
                       std::vector<std::unique_ptr<CRaster>>& frames) {
    if (!result)
        return Fail("GIF picture data is damaged or incomplete");
    CRasterInfo options = Info();
    const LONG transparent = result->GetTransparentIndex();
    const RGBQUAD transparentColor = result->Info().transparentColor;
    for (auto& f : frames)
        result->AddFrame(std::move(f));
    if (!TakeOver(*result, true))
        return false;
    Info() = options;
    Info().transparentIndex = transparent;
    Info().transparentColor = transparentColor;
    SetType(kTypeGif);
    return true;
}
