#include "tiles/CTileInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

CTileInfo::CTileInfo(const CTileInfo& other)
    : kindText(other.kindText), weight(other.weight), reserved1(other.reserved1),
      column(other.column), row(other.row), reserved2(other.reserved2), reserved3(other.reserved3),
      note(other.note), reserved4(other.reserved4), tileWidth(other.tileWidth),
      tileHeight(other.tileHeight), opacity(other.opacity), sheet_(other.sheet_),
      left_(other.left_), top_(other.top_), width_(other.width_), height_(other.height_) {}

CTileInfo& CTileInfo::operator=(const CTileInfo& other) {
    if (this != &other) {
        CTileInfo copy(other);
        kindText = std::move(copy.kindText);
        weight = copy.weight;
        reserved1 = copy.reserved1;
        column = copy.column;
        row = copy.row;
        reserved2 = copy.reserved2;
        reserved3 = copy.reserved3;
        note = std::move(copy.note);
        reserved4 = copy.reserved4;
        tileWidth = copy.tileWidth;
        tileHeight = copy.tileHeight;
        opacity = copy.opacity;
        sheet_ = std::move(copy.sheet_);
        left_ = copy.left_, top_ = copy.top_, width_ = copy.width_, height_ = copy.height_;
        scaled_.reset();
    }
    return *this;
}

void CTileInfo::Place(std::shared_ptr<const CRaster> sheet) {
    sheet_.reset();
    scaled_.reset();
    left_ = top_ = width_ = height_ = 0;
    if (!sheet || !sheet->IsValid() || tileWidth <= 0 || tileHeight <= 0)
        return;
    const std::int64_t w = sheet->GetWidth(), h = sheet->GetHeight();
    const std::int64_t left =
        std::clamp((std::int64_t{column} - 1) * tileWidth, std::int64_t{0}, w);
    const std::int64_t top = std::clamp((std::int64_t{row} - 1) * tileHeight, std::int64_t{0}, h);
    const std::int64_t right = std::clamp(std::int64_t{column} * tileWidth, std::int64_t{0}, w);
    const std::int64_t bottom = std::clamp(std::int64_t{row} * tileHeight, std::int64_t{0}, h);
    if (right <= left || bottom <= top)
        return;
    left_ = LONG(left), top_ = LONG(top), width_ = LONG(right - left), height_ = LONG(bottom - top);
    sheet_ = std::move(sheet);
}

const CRaster* CTileInfo::ScaledTo(int width, int height) const {
    if (!sheet_ || width <= 0 || height <= 0)
        return nullptr;
    if (scaled_ && scaled_->GetWidth() == DWORD(width) && scaled_->GetHeight() == DWORD(height))
        return scaled_.get();
    try {
        scaled_ = Scale(width, height);
    } catch (const std::bad_alloc&) {
        scaled_.reset(); // drawn as missing, like a picture that could not be made
    }
    return scaled_.get();
}

std::unique_ptr<CRaster> CTileInfo::Scale(int width, int height) const {
    const CRaster& sheet = *sheet_;
    auto scaled = std::make_unique<CRaster>();
    if (!scaled->Create(DWORD(width), DWORD(height), 24))
        return nullptr;
    const bool own = opacity <= 0 && sheet.IsAlphaValid();
    const bool alpha = (opacity > 0 || own) && scaled->CreateAlpha();
    scaled->SetAlphaMax(own ? sheet.GetAlphaMax() : 255);
    const BYTE level =
        BYTE(int(std::trunc(std::min(opacity, 100) / 100.0 * 255.0)) & 0xFF); // TILEO's opacity
    // Rows count from the bottom in both pictures; the tile's bottom row on the sheet is this.
    const std::int64_t base = std::int64_t{sheet.GetHeight()} - top_ - height_;
    for (int y = 0; y < height; ++y) {
        // Sample at pixel centres.
        const LONG sy =
            LONG(base + (2 * std::int64_t{y} + 1) * height_ / (2 * std::int64_t{height}));
        for (int x = 0; x < width; ++x) {
            const LONG sx =
                LONG(left_ + (2 * std::int64_t{x} + 1) * width_ / (2 * std::int64_t{width}));
            scaled->BlindSetPixelColor(x, y, sheet.BlindGetPixelColor(sx, sy, false));
            if (alpha)
                scaled->SetAlpha(x, y, own ? sheet.BlindGetAlpha(sx, sy) : level);
        }
    }
    if (sheet.IsTransparent()) {
        scaled->SetTransparentIndex(0);
        scaled->SetTransparentColor(sheet.GetTransparentColor());
    }
    return scaled;
}
