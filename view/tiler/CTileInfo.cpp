#include "view/tiler/CTileInfo.h"

#include <cstdint>

CTileInfo::CTileInfo(const CTileInfo& other)
    : kindText(other.kindText), weight(other.weight), reserved1(other.reserved1),
      column(other.column), row(other.row), reserved2(other.reserved2), reserved3(other.reserved3),
      note(other.note), reserved4(other.reserved4), image(other.image) {}

CTileInfo& CTileInfo::operator=(const CTileInfo& other) {
    if (this != &other) {
        kindText = other.kindText;
        weight = other.weight;
        reserved1 = other.reserved1;
        column = other.column;
        row = other.row;
        reserved2 = other.reserved2;
        reserved3 = other.reserved3;
        note = other.note;
        reserved4 = other.reserved4;
        image = other.image;
        scaled_.reset();
    }
    return *this;
}

const CRaster* CTileInfo::ScaledTo(int width, int height) const {
    if (!image.IsValid() || width <= 0 || height <= 0)
        return nullptr;
    if (scaled_ && scaled_->GetWidth() == DWORD(width) && scaled_->GetHeight() == DWORD(height))
        return scaled_.get();
    if (image.GetWidth() == DWORD(width) && image.GetHeight() == DWORD(height))
        return &image;
    auto scaled = std::make_unique<CRaster>();
    if (!scaled->Create(DWORD(width), DWORD(height), 24))
        return nullptr;
    const bool alpha = image.IsAlphaValid() && scaled->CreateAlpha();
    scaled->SetAlphaMax(image.GetAlphaMax());
    const std::int64_t sw = image.GetWidth(), sh = image.GetHeight();
    for (int y = 0; y < height; ++y) {
        // Rows count from the bottom in both pictures; sample at pixel centres.
        const LONG sy = LONG((2 * std::int64_t{y} + 1) * sh / (2 * std::int64_t{height}));
        for (int x = 0; x < width; ++x) {
            const LONG sx = LONG((2 * std::int64_t{x} + 1) * sw / (2 * std::int64_t{width}));
            scaled->BlindSetPixelColor(x, y, image.BlindGetPixelColor(sx, sy, false));
            if (alpha)
                scaled->SetAlpha(x, y, image.BlindGetAlpha(sx, sy));
        }
    }
    if (image.IsTransparent()) {
        scaled->SetTransparentIndex(0);
        scaled->SetTransparentColor(image.GetTransparentColor());
    }
    scaled_ = std::move(scaled);
    return scaled_.get();
}
