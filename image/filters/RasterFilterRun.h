#pragma once
#include "image/core/CRaster.h"

#include <cstdint>

// What every pixel filter shares: it reads the picture and writes into a full copy (pixels,
// selection, alpha), walks the selection box row by row from the bottom with progress and the
// escape flag, and puts the copy in place only when every row is done, so a stopped or failed
// filter leaves the picture as it was.
class RasterFilterRun {
public:
    explicit RasterFilterRun(CRaster& image);

    // False without block or when the copy could not be made.
    bool Ready() const { return ready_; }
    const CRaster& Source() const { return image_; }
    CRaster& Target() { return copy_; }
    // Storage rows: left <= x < right, bottom <= y < top, inside the picture.
    const RECT& Box() const { return box_; }
    bool Selected(LONG x, LONG y) const { return image_.IsInsideSelection(x, y); }

    // Calls row(y) for every row of the box; false when the escape flag stopped the walk.
    template <class RowFunction> bool Rows(RowFunction&& row) {
        const std::int64_t rows = std::int64_t{box_.top} - box_.bottom;
        for (LONG y = box_.bottom; y < box_.top; ++y) {
            if (image_.Info().escape != 0)
                return false;
            image_.Info().progress = static_cast<LONG>((y - box_.bottom) * 100 / rows);
            row(y);
        }
        return true;
    }

    // The copy replaces the picture.
    bool Finish();

private:
    CRaster& image_;
    CRaster copy_;
    RECT box_{};
    bool ready_ = false;
};
