#include "net/PanePicture.h"

#include "image/core/CRaster.h"
#include "image/core/PictureBudget.h"
#include "net/FetchCancel.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Lets a decode poll its transfer's cancel flag.
class CancelSignal : public StopSignal {
public:
    explicit CancelSignal(FetchCancel* cancel) : cancel_(cancel) {}
    bool Poll() override { return cancel_ && cancel_->Cancelled(); }

private:
    FetchCancel* cancel_;
};

void PutWord(std::string& out, std::uint32_t value) {
    BYTE bytes[4];
    PutLittleEndian(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// The source pixel with its opacity: the alpha plane, else the transparent palette entry.
RGBQUAD Opaque(const CRaster& image, LONG x, LONG y) {
    RGBQUAD c = image.BlindGetPixelColor(x, y, false);
    if (image.IsAlphaValid())
        c.rgbReserved = image.BlindGetAlpha(x, y);
    else if (image.IsIndexed() && image.IsTransparent())
        c.rgbReserved = image.BlindGetPixelIndex(x, y) == image.GetTransparentIndex() ? 0 : 255;
    else
        c.rgbReserved = 255;
    return c;
}

// Averages each shown pixel over the source pixels it covers (a box filter), top-down.
bool Scale(const CRaster& image, std::uint32_t width, std::uint32_t height, std::string& out,
           StopSignal& stop) {
    const std::uint64_t sw = image.GetWidth();
    const std::uint64_t sh = image.GetHeight();
    for (std::uint32_t row = 0; row < height; ++row) {
        if (stop.Poll())
            return false;
        const std::uint64_t top0 = row * sh / height;
        const std::uint64_t top1 = std::max(top0 + 1, (row + 1) * sh / height);
        for (std::uint32_t col = 0; col < width; ++col) {
            const std::uint64_t x0 = col * sw / width;
            const std::uint64_t x1 = std::max(x0 + 1, (col + 1) * sw / width);
            std::uint64_t r = 0, g = 0, b = 0, a = 0;
            for (std::uint64_t top = top0; top < top1; ++top)
                for (std::uint64_t x = x0; x < x1; ++x) {
                    // Storage rows run bottom-up.
                    const RGBQUAD c = Opaque(image, LONG(x), LONG(sh - 1 - top));
                    // Colour weighs by opacity, so transparent pixels lend no colour.
                    r += std::uint64_t(c.rgbRed) * c.rgbReserved;
                    g += std::uint64_t(c.rgbGreen) * c.rgbReserved;
                    b += std::uint64_t(c.rgbBlue) * c.rgbReserved;
                    a += c.rgbReserved;
                }
            const std::uint64_t n = (top1 - top0) * (x1 - x0);
            out.push_back(static_cast<char>(a ? r / a : 0));
            out.push_back(static_cast<char>(a ? g / a : 0));
            out.push_back(static_cast<char>(a ? b / a : 0));
            out.push_back(static_cast<char>(a / n));
        }
    }
    return true;
}

} // namespace

std::string PanePicture::Prepare(std::span<const BYTE> bytes, FetchCancel* cancel,
                                 std::string& error) {
    CancelSignal stop(cancel);
    CRaster image;
    // The header alone says how large the picture is before anything is decoded.
    image.Info().decode.stop = &stop;
    image.SetEscape(-1);
    if (bytes.empty() || !image.DecodeFromMemory(bytes, CRaster::kTypeUnknown)) {
        error = bytes.empty() ? "the picture is empty" : image.GetLastError();
        return {};
    }
    // The formats of web pages, whose readers all stop between rows when asked; the others
    // (metafiles, JPEG 2000, TIFF) are no pane's business.
    const DWORD type = image.GetType();
    if (type != CRaster::kTypePng && type != CRaster::kTypeGif && type != CRaster::kTypeJpg &&
        type != CRaster::kTypeBmp && type != CRaster::kTypeIco) {
        error = "the pane shows PNG, GIF, JPEG, BMP and ICO pictures only";
        return {};
    }
    const std::uint64_t pixels = std::uint64_t(image.GetWidth()) * image.GetHeight();
    // Colour and alpha planes at most, while it is read.
    if (pixels == 0 || pixels > kMaxSourcePixels) {
        error = PictureTooLargeMessage("Pane", image.GetWidth(), image.GetHeight(), pixels * 4,
                                       kMaxSourcePixels * 4);
        return {};
    }
    image = CRaster();
    image.Info().decode.budget = std::min(PictureBudget::kPictureBytes, kDecodeBytes);
    image.Info().decode.stop = &stop;
    try {
        if (!image.DecodeFromMemory(bytes, type) || !image.IsValid()) {
            error = image.GetLastError();
            return {};
        }
        double factor = 1.0;
        const std::uint64_t decoded = std::uint64_t(image.GetWidth()) * image.GetHeight();
        if (decoded > kMaxShownPixels)
            factor = std::sqrt(double(kMaxShownPixels) / double(decoded));
        const auto width =
            std::max<std::uint32_t>(1, std::uint32_t(std::floor(image.GetWidth() * factor)));
        const auto height =
            std::max<std::uint32_t>(1, std::uint32_t(std::floor(image.GetHeight() * factor)));
        std::string out(kMagic);
        PutWord(out, width);
        PutWord(out, height);
        out.reserve(kHeaderBytes + std::size_t(width) * height * 4);
        if (!Scale(image, width, height, out, stop)) {
            error = CRaster::kCancelled;
            return {};
        }
        return out;
    } catch (const std::bad_alloc&) {
        error = kPictureOutOfMemory;
        return {};
    }
}

bool PanePicture::Read(std::string_view prepared, Pixels& pixels) {
    if (prepared.size() < kHeaderBytes || !IsPrepared(prepared))
        return false;
    const auto* header = reinterpret_cast<const BYTE*>(prepared.data());
    const auto width = GetLittleEndian<std::uint32_t>(header + 8);
    const auto height = GetLittleEndian<std::uint32_t>(header + 12);
    if (width == 0 || height == 0 ||
        std::uint64_t(width) * height * 4 != prepared.size() - kHeaderBytes)
        return false;
    pixels = {width, height, reinterpret_cast<const BYTE*>(prepared.data() + kHeaderBytes)};
    return true;
}
