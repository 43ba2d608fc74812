#include "view/PendingPicture.h"

#include "platform/IClipboard.h"
#include "platform/RgbaPicture.h"

#include <cstdint>

bool PendingPicture::PasteFrom(IClipboard& clipboard) {
    if (!clipboard.OffersPicture())
        return false;
    const auto picture = clipboard.ReadPicture();
    CRaster image;
    if (!picture || !FromRgba(*picture, image))
        return false;
    working_ = std::move(image);
    pending_ = true;
    return true;
}

std::unique_ptr<CRaster> PendingPicture::Take() {
    pending_ = false;
    return std::make_unique<CRaster>(working_, true, true, true);
}

bool PendingPicture::FromRgba(const RgbaPicture& picture, CRaster& image) {
    if (picture.Empty())
        return false;
    // The clipboard's bytes come from outside: the size must match before any is read.
    const std::uint64_t needed = std::uint64_t(picture.width) * std::uint64_t(picture.height) * 4u;
    if (picture.rgba.size() != needed)
        return false;
    const DWORD w = static_cast<DWORD>(picture.width), h = static_cast<DWORD>(picture.height);
    if (!image.Create(w, h, 24))
        return false;
    bool opaque = true;
    for (int y = 0; y < picture.height; ++y) {
        // Storage rows count from the bottom.
        BYTE* row = image.GetBits(h - 1 - static_cast<DWORD>(y));
        for (int x = 0; x < picture.width; ++x) {
            const BYTE* p = picture.Pixel(x, y);
            row[3 * x] = p[2];
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
            opaque = opaque && p[3] == 255;
        }
    }
    if (opaque || !image.CreateAlpha())
        return true;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.SetAlpha(x, picture.height - 1 - y, picture.Pixel(x, y)[3]);
    return true;
}
