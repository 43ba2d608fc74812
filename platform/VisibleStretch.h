#pragma once
#include "platform/CRect.h"
#include "platform/RasterSurface.h"

#include <memory>

// A stretch onto a destination far larger than any surface: only the part inside the clip is
// sampled, nearest pixel as the raster back end's scaled copy does, so the work follows the
// clip and no coordinate of the whole destination has to fit a device rectangle.
class VisibleStretch {
public:
    struct Part {
        std::shared_ptr<RasterSurface> pixels; // null when nothing is visible
        CRect at;                              // where the pixels go, unscaled
    };
    // `from` is the source rectangle and (x0, y0)-(x1, y1) the destination's corners in device
    // units; either running backwards mirrors the copy.
    static Part Sample(RasterSurface& source, const CRect& from, double x0, double y0, double x1,
                       double y1, const CRect& clip);
};
