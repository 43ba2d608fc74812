#pragma once
#include "image/core/CRaster.h"

#include <memory>
#include <string>

// One tile of a tile set: the kind text of its line, its weight among the alternatives of
// its kind, and its place on the sheet. The tile is a view into the sheet it shares with the
// other tiles, never a copy of its pixels.
class CTileInfo {
public:
    CTileInfo() = default;
    CTileInfo(const CTileInfo& other);
    CTileInfo& operator=(const CTileInfo& other);

    std::string kindText = "UNKNOWN";
    int weight = 0;
    int reserved1 = 0;
    int column = 0; // 1-based
    int row = 0;    // 1-based
    int reserved2 = 0;
    int reserved3 = 0;
    std::string note = "NONE";
    int reserved4 = 0;
    // The tile size in force at its line, and its opacity in percent (0: the sheet's own).
    int tileWidth = 0, tileHeight = 0;
    int opacity = 0;

    // Points the tile at its rectangle of `sheet` (from its row, column and size), cut to the
    // sheet; a tile with nothing of the sheet in it has no picture.
    void Place(std::shared_ptr<const CRaster> sheet);
    bool HasPicture() const { return sheet_ != nullptr; }
    // Its rectangle on the sheet, counted from the sheet's top left.
    LONG Left() const { return left_; }
    LONG Top() const { return top_; }
    LONG Width() const { return width_; }
    LONG Height() const { return height_; }

    // The picture resampled (nearest pixel) to `width` by `height` pixels, kept until a
    // different size is asked for; null when the tile has no picture.
    const CRaster* ScaledTo(int width, int height) const;

private:
    std::unique_ptr<CRaster> Scale(int width, int height) const;

    std::shared_ptr<const CRaster> sheet_;
    LONG left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    mutable std::unique_ptr<CRaster> scaled_;
};
