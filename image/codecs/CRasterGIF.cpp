#include "image/codecs/CRasterGIF.h"

#include "image/codecs/GifLzwDecoder.h"
#include "image/core/CRasterFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr BYTE kExtension = 0x21;
constexpr BYTE kImage = 0x2C;
constexpr BYTE kTrailer = 0x3B;
constexpr std::uint64_t kMosaicOverlap = 4;
// LZW gives at most some 2,700 pixels per byte of data: the work of composing frames is paid
// for at this many pixels per byte the frames take, besides a few passes over the screen.
constexpr std::uint64_t kPixelsPerByte = 4096;
constexpr std::uint64_t kScreenPasses = 3;

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

bool CRasterGIF::Decode(CRasterFile& file, const DecodeOptions& options) {
    const std::uint64_t left = BytesLeft(file);
    if (left < 13)
        return Fail("GIF file too short");
    // The file is held whole while it is read: one larger than the budget cannot fit.
    if (left > options.budget && !HeaderOnly()) {
        BYTE head[10];
        if (!ReadExact(file, head, sizeof head) || std::memcmp(head, "GIF8", 4) != 0)
            return Fail("Not a GIF file");
        return FailTooLarge("GIF", U16(head, 6), U16(head, 8), left, options);
    }
    // Its size needs the header alone.
    std::vector<BYTE> data(HeaderOnly() ? 13 : static_cast<std::size_t>(left));
    if (!ReadExact(file, data.data(), data.size()))
        return Fail("GIF file could not be read");
    return DecodeBytes(data, options);
}

int CRasterGIF::CountFrames(std::span<const BYTE> data, std::size_t pos, int& screenW, int& screenH,
                            bool& restoresPrevious, int& deepest, std::size_t& end) {
    restoresPrevious = false;
    int count = 0;
    const int globalFlags = data[10];
    const int globalBpp =
        (globalFlags & 0x80) ? DepthForColors(std::size_t(2) << (globalFlags & 7)) : 0;
    end = data.size();
    deepest = 1;
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
        if (OnScreen(x, y, w, h, screenW, screenH)) {
            ++count;
            deepest =
                std::max(deepest, (flags & 0x80) ? DepthForColors(std::size_t(2) << (flags & 7))
                                                 : std::max(globalBpp, 1));
        }
        ++pos; // minimum code size
        if (pos > data.size() || !SkipSubBlocks(data, pos))
            break;
    }
    end = std::min(pos, data.size());
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

// What a frame adds to one pixel of the screen, kept per pixel while composing in the
// picture's own alpha plane, which the finished picture turns into its transparency.
enum Coverage : BYTE { kUncovered = 0, kCovered = 1, kSupplied = 2 };

} // namespace

struct CRasterGIF::Composition {
    int screenW = 0;
    int screenH = 0;
    bool restoresPrevious = false;
    bool mosaic = false;
    // Whether coverage is kept: not when the first frame's transparent index shows the
    // pixels no frame supplied, nor when the first frame supplied every pixel. It lives in
    // the picture's alpha plane once the first frame has been placed (a mosaic's at once).
    bool tracks = true;
    bool covering = false;
    int deepest = 8; // the largest palette depth of the frames on the screen
    int frames = 0;  // frames on the screen
    LONG firstTransparent = -1;
    bool anyTransparent = false; // some frame so far has a transparent index
    int previousDisposal = 0;
    RGBQUAD mosaicTransparent{};
    std::uint64_t work = 0;
    std::uint64_t budget = 0;
    std::uint64_t supplied = 0; // pixels the frames' data gave so far
    std::uint64_t fileBytes = 0;
    std::unique_ptr<CRaster> result;
    std::unique_ptr<CRaster> previous; // pixels only

    std::uint64_t Area() const { return std::uint64_t(screenW) * std::uint64_t(screenH); }
    // The coverage of a screen row (top first).
    BYTE* Cover(int row) const { return result->GetAlphaPointer(0, screenH - 1 - row); }
    bool Covering() const { return tracks && covering; }
};

// Every step of the composition is paid for out of a budget that grows with the bytes the
// frames take, so a few bytes cannot make the decoder churn through huge pictures.
bool CRasterGIF::Charge(Composition& c, std::uint64_t pixels) {
    c.work += pixels;
    return c.work <= c.budget || FailLargerThanData();
}

// The peak of the whole decode, known once the first frame has told whether the picture is
// a mosaic and whether it keeps coverage: the file, the picture with its coverage, a raised
// copy when a later frame brings a larger palette, the kept previous picture and kept frames.
std::uint64_t CRasterGIF::Estimate(const Composition& c, int firstBpp) const {
    const std::uint64_t w = std::uint64_t(c.screenW), h = std::uint64_t(c.screenH);
    const unsigned bpp = c.mosaic ? 24 : unsigned(std::max(c.deepest, firstBpp));
    const std::uint64_t picture = PictureBytes(w, h, bpp, c.tracks);
    std::uint64_t bytes = c.fileBytes + picture + 2 * 65536;
    if (!c.mosaic && c.deepest > firstBpp)
        bytes += PictureBytes(w, h, unsigned(firstBpp), c.tracks);
    if (!c.mosaic && c.restoresPrevious)
        bytes += PictureBytes(w, h, bpp);
    if (!c.mosaic && Info().retrieveAllFrames)
        bytes += picture * std::uint64_t(c.frames);
    return bytes;
}

bool CRasterGIF::StartBackground(Composition& c, const Frame& frame, LONG transparent, bool first,
                                 const DecodeOptions& options) {
    const DWORD w = static_cast<DWORD>(c.screenW), h = static_cast<DWORD>(c.screenH);
    if (first) {
        c.tracks = c.mosaic || transparent < 0;
        const std::uint64_t estimate = Estimate(c, frame.bpp);
        if (!options.Allows(estimate))
            return FailTooLarge("GIF", w, h, estimate, options);
    }
    if (c.mosaic) {
        if (c.result)
            return true;
        if (!Charge(c, c.Area()))
            return false;
        c.result = std::make_unique<CRaster>();
        if (!c.result->Create(w, h, 24, kTypeGif) || !c.result->CreateAlpha())
            return Fail(kPictureOutOfMemory);
        c.result->SetAlphaLevel(kUncovered);
        c.covering = true;
        return true;
    }
    std::unique_ptr<CRaster> background;
    if (first) {
        if (!Charge(c, c.Area() * (c.restoresPrevious ? 2 : 1)))
            return false;
        background = std::make_unique<CRaster>();
        if (!background->CreateForOverwrite(w, h, static_cast<DWORD>(frame.bpp), kTypeGif))
            return Fail(kPictureOutOfMemory);
        background->Clear(static_cast<BYTE>(transparent >= 0 ? transparent : 0));
        c.firstTransparent = transparent;
        if (c.restoresPrevious)
            c.previous = std::make_unique<CRaster>(*background, true, false, false);
    } else if (c.previousDisposal == 2) {
        if (!Charge(c, c.Area()))
            return false;
        background = std::move(c.result);
        background->Clear(static_cast<BYTE>(c.firstTransparent >= 0 ? c.firstTransparent : 0));
    } else if (c.previousDisposal == 3 && c.previous) {
        if (!Charge(c, c.Area()))
            return false;
        // The previous pixels come back; what the frames covered stays covered.
        background = std::move(c.result);
        if (c.previous->GetBpp() < background->GetBpp() &&
            !c.previous->IncreaseBpp(background->GetBpp()))
            return Fail(c.previous->GetLastError());
        std::memcpy(background->GetBits(0), c.previous->GetBits(0),
                    std::size_t{background->GetStride()} * h);
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

// Keeps the composed pixels for a later frame that restores them, in the block kept before
// when it still fits.
bool CRasterGIF::KeepPrevious(Composition& c) {
    if (!Charge(c, c.Area()))
        return false;
    const CRaster& from = *c.result;
    if (c.previous && c.previous->GetBpp() == from.GetBpp()) {
        std::memcpy(c.previous->GetBits(0), from.GetBits(0),
                    std::size_t{from.GetStride()} * from.GetHeight());
        return true;
    }
    c.previous.reset();
    c.previous = std::make_unique<CRaster>(from, true, false, false);
    return c.previous->IsValid() || Fail(kPictureOutOfMemory);
}

namespace {

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

} // namespace

// Marks the frame's rectangle, as far as it lies on the screen, as covered.
void CRasterGIF::MarkCovered(Composition& c, const Frame& frame) {
    if (!c.Covering())
        return;
    const int right = std::min(c.screenW, frame.left + frame.width);
    const int bottom = std::min(c.screenH, frame.top + frame.height);
    for (int y = frame.top; y < bottom; ++y) {
        BYTE* p = c.Cover(y);
        for (int x = frame.left; x < right; ++x)
            p[x] = std::max<BYTE>(p[x], kCovered);
    }
}

// Coverage starts after the first frame, from what it supplied: nothing when it supplied
// the whole screen, else its rectangle with the rows its data gave.
bool CRasterGIF::StartCoverage(Composition& c, const Frame& frame, const std::vector<int>& order,
                               bool complete, std::size_t rows, std::size_t pixels) {
    if (complete && frame.left == 0 && frame.top == 0 && frame.width >= c.screenW &&
        frame.height >= c.screenH) {
        c.tracks = false;
        return true;
    }
    if (!c.result->CreateAlpha())
        return Fail(kPictureOutOfMemory);
    c.result->SetAlphaLevel(kUncovered);
    c.covering = true;
    MarkCovered(c, frame);
    const int visible = std::min(frame.height, c.screenH - frame.top);
    const std::size_t width = static_cast<std::size_t>(frame.width);
    const std::size_t clipW =
        static_cast<std::size_t>(std::min(frame.width, c.screenW - frame.left));
    for (std::size_t fileRow = 0; fileRow < rows; ++fileRow) {
        const int frameRow = order.empty() ? static_cast<int>(fileRow) : order[fileRow];
        if (frameRow >= visible)
            continue;
        const std::size_t given = fileRow + 1 < rows ? width : pixels - fileRow * width;
        BYTE* cover = c.Cover(frame.top + frameRow) + frame.left;
        std::fill_n(cover, std::min(clipW, given), BYTE(kSupplied));
    }
    return true;
}

// Decodes the frame's data straight onto the screen: each row as it comes, clipped to the
// screen, and no further than the last row that shows.
bool CRasterGIF::DecodeFrame(Composition& c, const Frame& frame, std::span<const BYTE> data,
                             LONG transparent, const std::array<RGBQUAD, 256>& palette,
                             std::size_t& end) {
    MarkCovered(c, frame);
    const int visible = std::min(frame.height, c.screenH - frame.top);
    const std::size_t clipW =
        static_cast<std::size_t>(std::min(frame.width, c.screenW - frame.left));
    const std::vector<int> order =
        frame.interlaced ? InterlacedRows(frame.height) : std::vector<int>();
    const BYTE mask = static_cast<BYTE>((1 << frame.bpp) - 1);
    CRaster& out = *c.result;
    const int bpp = out.GetBpp();
    int shown = 0;
    bool stopped = false;
    std::size_t delivered = 0; // file rows placed, all but the last one whole
    bool complete = true;
    std::uint64_t supplied = 0;
    const auto sink = [&](std::size_t fileRow, std::span<const BYTE> line) {
        if (Cancelled()) {
            stopped = true;
            return false;
        }
        const int frameRow = frame.interlaced ? order[fileRow] : static_cast<int>(fileRow);
        if (frameRow >= visible)
            return frame.interlaced;
        const int row = frame.top + frameRow;
        line = line.first(std::min(clipW, line.size()));
        BYTE* bits = out.GetBits(static_cast<DWORD>(c.screenH - 1 - row));
        BYTE* cover = c.Covering() ? c.Cover(row) + frame.left : nullptr;
        delivered = fileRow + 1;
        complete &= line.size() >= clipW;
        if (c.mosaic) {
            bits += 3 * std::size_t(frame.left);
            for (std::size_t x = 0; x < line.size(); ++x) {
                const RGBQUAD& colour = palette[line[x] & mask];
                bits[3 * x] = colour.rgbBlue;
                bits[3 * x + 1] = colour.rgbGreen;
                bits[3 * x + 2] = colour.rgbRed;
                if (cover != nullptr)
                    cover[x] = kSupplied;
            }
        } else {
            for (std::size_t x = 0; x < line.size(); ++x) {
                const BYTE index = line[x] & mask;
                if (static_cast<LONG>(index) == transparent)
                    continue;
                PutIndex(bits, std::size_t(frame.left) + x, bpp, index);
                if (cover != nullptr)
                    cover[x] = kSupplied;
            }
        }
        supplied += line.size();
        // Every row that shows has come: the rest of the data is skipped.
        return ++shown < visible;
    };
    const auto decoded = GifLzwDecoder::DecodeRows(data, static_cast<std::size_t>(frame.width),
                                                   static_cast<std::size_t>(frame.height), sink);
    if (stopped)
        return false;
    if (decoded.status == GifLzwDecoder::Status::BadCodeSize)
        return Fail("GIF frame has an unusable LZW code size");
    end = decoded.end;
    c.supplied += supplied;
    if (c.tracks && !c.covering &&
        !StartCoverage(c, frame, order, shown == visible && complete, delivered, decoded.delivered))
        return false;
    if (!c.mosaic) {
        out.SetPalette(palette.data(), out.GetNumColors());
        out.SetTransparentIndex(c.firstTransparent);
    }
    return Charge(c, decoded.delivered);
}

// Pixels that no frame supplied stay transparent: those inside a frame whose data ended
// early, and, when the file has a transparent index, those no frame covers. Without a
// transparent index to show them by, they get an alpha plane.
std::unique_ptr<CRaster> CRasterGIF::Finished(Composition& c, bool copy) {
    auto image = copy ? std::make_unique<CRaster>(*c.result) : std::move(c.result);
    if (!c.tracks)
        return image;
    if (!image->IsAlphaValid())
        return nullptr;
    const bool keyed = c.mosaic && c.anyTransparent;
    auto hidden = [&](BYTE cover) {
        return cover == kCovered || (cover == kUncovered && c.anyTransparent);
    };
    bool any = false;
    for (int row = 0; row < c.screenH; ++row) {
        if (Cancelled())
            return nullptr;
        const LONG y = c.screenH - 1 - row;
        BYTE* cover = image->GetAlphaPointer(0, y);
        for (int x = 0; x < c.screenW; ++x) {
            const bool hide = hidden(cover[x]);
            any |= hide;
            if (hide && keyed)
                image->BlindSetPixelColor(x, y, c.mosaicTransparent);
            cover[x] = hide ? 0 : 255;
        }
    }
    if (!any || keyed)
        image->DeleteAlpha();
    return image;
}

bool CRasterGIF::DecodeBytes(std::span<const BYTE> data, const DecodeOptions& options) {
    if (data.size() < 13 || std::memcmp(data.data(), "GIF8", 4) != 0)
        return Fail("Not a GIF file");
    Composition c;
    c.screenW = U16(data, 6);
    c.screenH = U16(data, 8);
    c.fileBytes = data.size();
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
    std::size_t blocksEnd = data.size();
    const int count =
        CountFrames(data, pos, c.screenW, c.screenH, c.restoresPrevious, c.deepest, blocksEnd);
    c.frames = count;
    Info().numFrames = count;
    LONG requested = Info().frame;
    if (count == 0)
        return Fail("GIF holds no picture on its screen");
    if (requested < 0 || requested >= count)
        return Fail("GIF frame not found");
    if (count == 1)
        trueColorCounter = 0;
    // Bytes past the trailer buy no work.
    c.budget = 2 * kPixelsPerByte * blocksEnd + kScreenPasses * c.Area();

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
        if (!Charge(c, clipped) || !StartBackground(c, frame, transparent, first, options))
            return false;
        std::array<RGBQUAD, 256> palette{};
        std::copy_n(frame.palette.begin(), std::min<std::size_t>(frame.palette.size(), 256),
                    palette.begin());
        if (transparent >= 0)
            for (std::size_t i = frame.palette.size(); i < (std::size_t(1) << frame.bpp); ++i)
                palette[i] = RGBQUAD{255, 255, 255, 0};
        if (c.mosaic && transparent >= 0)
            c.mosaicTransparent = palette[static_cast<std::size_t>(transparent)];
        std::size_t end = 0;
        if (!DecodeFrame(c, frame, data.subspan(frame.dataStart), transparent, palette, end))
            return false;
        pos = frame.dataStart + end;
        c.previousDisposal = (control.flags >> 2) & 7;
        Info().frameDelay = control.delay;
        Info().disposal = static_cast<BYTE>(c.previousDisposal);
        if (Info().retrieveAllFrames && !c.mosaic) {
            if (!Charge(c, c.Area()))
                return false;
            auto copy = Finished(c, true);
            if (!copy)
                return WasCancelled() ? false : Fail(kPictureOutOfMemory);
            copy->Info().retrieveAllFrames = 0;
            frames.push_back(std::move(copy));
        }
        if (!c.mosaic && c.restoresPrevious &&
            (c.previousDisposal == 0 || c.previousDisposal == 1) && !KeepPrevious(c))
            return false;
        if (frameIndex++ == requested)
            break;
    }
    if (!c.result)
        return Fail("GIF frame data missing");
    if (c.supplied == 0)
        return Fail("GIF frame holds no pixel data");
    if (!Charge(c, c.Area()))
        return false;
    c.previous.reset();
    std::unique_ptr<CRaster> result = Finished(c, false);
    if (!result && WasCancelled())
        return false;
    if (result && c.mosaic && c.anyTransparent) {
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
