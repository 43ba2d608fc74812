#pragma once
#include "image/CRaster.h"

#include <memory>
#include <string>

// One tile of a tile set: the kind text of its line, its weight among the alternatives of
// its kind, its place on the sheet and the picture cut from there.
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
    CRaster image;

    // The picture resampled (nearest pixel) to `width` by `height` pixels, kept until a
    // different size is asked for; null when the tile has no picture.
    const CRaster* ScaledTo(int width, int height) const;

private:
    mutable std::unique_ptr<CRaster> scaled_;
};
