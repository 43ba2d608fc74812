#include "image/CRasterGIF.h"

#include "image/CRasterFile.h"
#include "image/GifLzwDecoder.h"

#include <cstring>

namespace {

constexpr BYTE kExtension = 0x21;
constexpr BYTE kImage = 0x2C;
constexpr BYTE kTrailer = 0x3B;
// Decoding reads the whole remaining stream; a GIF past this size is refused outright.
constexpr std::uint64_t kMaxFileBytes = 1ull << 30;
constexpr std::uint64_t kMosaicOverlap = 4;

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

bool CRasterGIF::Decode(CRasterFile& file) {
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
        if (w > 0 && h > 0 && x + w <= screenW && y + h <= screenH)
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
        comment_.assign(reinterpret_cast<const char*>(block), size);
        break;
    case 0xFF:
        if (size == 11 && (std::memcmp(block, "NETSCAPE2.0", 11) == 0 ||
                           std::memcmp(block, "ANIMEXTS1.0", 11) == 0)) {
            if (pos < data.size() && data[pos] > 2 && pos + 1 + data[pos] <= data.size())
                loops_ = data[pos + 2] | (data[pos + 3] << 8);
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

std::unique_ptr<CRaster> CRasterGIF::DecodeFrame(std::span<const BYTE> data, Frame& frame,
                                                 LONG transparent, std::size_t& end) {
    auto image = std::make_unique<CRaster>();
    if (!image->Create(static_cast<DWORD>(frame.width), static_cast<DWORD>(frame.height),
                       static_cast<DWORD>(frame.bpp), kTypeGif)) {
        SetLastError(image->GetLastError());
        return nullptr;
    }
    std::array<RGBQUAD, 256> palette{};
    for (std::size_t i = 0; i < frame.palette.size() && i < palette.size(); ++i)
        palette[i] = frame.palette[i];
    if (transparent >= 0)
        for (std::size_t i = frame.palette.size(); i < palette.size(); ++i)
            palette[i] = RGBQUAD{255, 255, 255, 0};
    image->SetPalette(palette.data(), image->GetNumColors());
    const BYTE mask = static_cast<BYTE>((1 << frame.bpp) - 1);
    image->Clear(static_cast<BYTE>(transparent >= 0 ? transparent & mask : 0));
    if (transparent >= 0)
        image->SetTransparentIndex(transparent);

    const std::size_t w = static_cast<std::size_t>(frame.width);
    const std::size_t h = static_cast<std::size_t>(frame.height);
    const auto decoded = GifLzwDecoder::Decode(data.subspan(frame.dataStart), w * h);
    end = frame.dataStart + decoded.end;
    const std::vector<int> rows =
        frame.interlaced ? InterlacedRows(frame.height) : std::vector<int>();
    const std::size_t full = decoded.pixels.size();
    for (std::size_t k = 0, fileRow = 0; k < full; k += w, ++fileRow) {
        const int imageRow = frame.interlaced ? rows[fileRow] : static_cast<int>(fileRow);
        const LONG storageRow = frame.height - 1 - imageRow;
        const std::size_t n = std::min(w, full - k);
        if (frame.bpp == 8) {
            std::memcpy(image->GetBits(static_cast<DWORD>(storageRow)), &decoded.pixels[k], n);
            continue;
        }
        for (std::size_t x = 0; x < n; ++x)
            image->BlindSetPixelIndex(static_cast<LONG>(x), storageRow,
                                      decoded.pixels[k + x] & mask);
    }
    return image;
}

struct CRasterGIF::Composition {
    int screenW = 0;
    int screenH = 0;
    bool restoresPrevious = false;
    LONG firstTransparent = -1;
    int previousDisposal = 0;
    RGBQUAD mosaicTransparent{};
    std::unique_ptr<CRaster> result;
    std::unique_ptr<CRaster> previous;
};

bool CRasterGIF::PasteMosaicTile(Composition& c, const Frame& frame, const CRaster& tile,
                                 LONG transparent) {
    if (transparent >= 0)
        c.mosaicTransparent = tile.GetPaletteColor(static_cast<DWORD>(transparent));
    if (!c.result) {
        c.result = std::make_unique<CRaster>();
        if (!c.result->Create(static_cast<DWORD>(c.screenW), static_cast<DWORD>(c.screenH), 24,
                              kTypeGif))
            return Fail(c.result->GetLastError());
    }
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            c.result->BlindSetPixelColor(frame.left + x, c.screenH - 1 - (frame.top + y),
                                         tile.BlindGetPixelColor(x, frame.height - 1 - y, false));
    return true;
}

bool CRasterGIF::ComposeFrame(Composition& c, const Frame& frame, const CRaster& image,
                              LONG transparent, bool first) {
    std::unique_ptr<CRaster> background;
    if (first) {
        background = std::make_unique<CRaster>();
        if (!background->Create(static_cast<DWORD>(c.screenW), static_cast<DWORD>(c.screenH),
                                static_cast<DWORD>(frame.bpp), kTypeGif))
            return Fail(background->GetLastError());
        background->Clear(static_cast<BYTE>(transparent >= 0 ? transparent : 0));
        c.firstTransparent = transparent;
        if (c.restoresPrevious)
            c.previous = std::make_unique<CRaster>(*background);
    } else if (c.previousDisposal == 2) {
        background = std::move(c.result);
        background->Clear(static_cast<BYTE>(c.firstTransparent >= 0 ? c.firstTransparent : 0));
    } else if (c.previousDisposal == 3 && c.previous) {
        background = std::make_unique<CRaster>(*c.previous);
    } else {
        // The composed picture so far is not needed apart from its successor.
        background = std::move(c.result);
    }
    // A later frame with a larger table must not lose its upper indices.
    if (frame.bpp > background->GetBpp() && !background->IncreaseBpp(static_cast<DWORD>(frame.bpp)))
        return Fail(background->GetLastError());
    for (int y = 0; y < frame.height; ++y) {
        const LONG by = c.screenH - 1 - (frame.top + y);
        for (int x = 0; x < frame.width; ++x) {
            const BYTE index = image.BlindGetPixelIndex(x, frame.height - 1 - y);
            if (static_cast<LONG>(index) != transparent)
                background->BlindSetPixelIndex(frame.left + x, by, index);
        }
    }
    std::array<RGBQUAD, 256> palette{};
    for (DWORD i = 0; i < image.GetNumColors(); ++i)
        palette[i] = image.GetPaletteColor(i);
    background->SetPalette(palette.data(), background->GetNumColors());
    background->SetTransparentIndex(c.firstTransparent);
    c.result = std::move(background);
    return true;
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
    if ((screenFlags & 0x80) && !ReadTable(data, pos, screenFlags, global))
        return Fail("Truncated GIF colour table");
    int trueColorCounter = global.empty() ? 1 : 0;
    const int count = CountFrames(data, pos, c.screenW, c.screenH, c.restoresPrevious);
    Info().numFrames = count;
    LONG requested = Info().frame;
    if (count == 0)
        return Fail("GIF holds no picture");
    if (requested < 0 || requested >= count)
        return Fail("GIF has no such frame");
    if (count == 1)
        trueColorCounter = 0;

    Control control;
    int frameIndex = 0;
    bool mosaicMode = false;
    std::uint64_t mosaicArea = 0;
    const std::uint64_t screenArea = static_cast<std::uint64_t>(c.screenW) * c.screenH;
    std::vector<std::unique_ptr<CRaster>> frames;
    Resync resync;
    while (pos < data.size()) {
        const BYTE b = data[pos++];
        if (Info().escape > 0)
            return Fail("Cancelled");
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
        if (frame.width == 0 || frame.height == 0 || frame.left + frame.width > c.screenW ||
            frame.top + frame.height > c.screenH) {
            ++pos;
            if (!SkipSubBlocks(data, pos))
                break;
            continue;
        }
        const bool first = frameIndex == 0;
        if (first && (frame.width != c.screenW || frame.height != c.screenH))
            ++trueColorCounter;
        // A mosaic's tiles cover the picture once; a file whose tiles would cover it many
        // times over only makes the decoder churn through huge frames.
        mosaicArea += static_cast<std::uint64_t>(frame.width) * frame.height;
        if (mosaicMode && mosaicArea > kMosaicOverlap * screenArea + (1u << 20))
            return Fail("GIF tiles overlap the picture too often");
        LONG transparent = control.seen && (control.flags & 1) ? control.transparentIndex : -1;
        if (transparent >= static_cast<LONG>(frame.palette.size()))
            transparent = -1;
        std::size_t end = pos;
        auto image = DecodeFrame(data, frame, transparent, end);
        if (!image)
            return false;
        pos = end;
        if (first) {
            mosaicMode = trueColorCounter > 1;
            if (mosaicMode)
                requested = count - 1;
        }
        if (mosaicMode ? !PasteMosaicTile(c, frame, *image, transparent)
                       : !ComposeFrame(c, frame, *image, transparent, first))
            return false;
        c.previousDisposal = (control.flags >> 2) & 7;
        Info().frameDelay = control.delay;
        Info().disposal = static_cast<BYTE>(c.previousDisposal);
        if (Info().retrieveAllFrames && !mosaicMode) {
            auto copy = std::make_unique<CRaster>(*c.result);
            copy->Info().retrieveAllFrames = 0;
            frames.push_back(std::move(copy));
        }
        if (!mosaicMode && c.restoresPrevious &&
            (c.previousDisposal == 0 || c.previousDisposal == 1))
            c.previous = std::make_unique<CRaster>(*c.result);
        if (frameIndex++ == requested)
            break;
    }
    if (mosaicMode && control.seen && (control.flags & 1) && c.result) {
        c.result->SetTransparentColor(c.mosaicTransparent);
        c.result->SetTransparentIndex(0);
    }
    return Adopt(std::move(c.result), frames);
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
