#include "image/filters/RasterFilterRun.h"

#include <algorithm>

RasterFilterRun::RasterFilterRun(CRaster& image) : image_(image) {
    if (!image.IsValid() || !copy_.Copy(image) || !copy_.IsValid())
        return;
    const LONG width = static_cast<LONG>(image.GetWidth());
    const LONG height = static_cast<LONG>(image.GetHeight());
    if (image.IsSelectionValid()) {
        // A box from elsewhere must never lead the walk outside the picture.
        const RECT& b = image.Info().selectionBox;
        box_ = {std::clamp(b.left, 0, width), std::clamp(b.top, 0, height),
                std::clamp(b.right, 0, width), std::clamp(b.bottom, 0, height)};
    } else {
        box_ = {0, height, width, 0};
    }
    ready_ = true;
}

bool RasterFilterRun::Finish() {
    return ready_ && image_.TakeOver(copy_, true);
}
