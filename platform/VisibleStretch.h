#pragma once
#include "platform/CRect.h"
#include "platform/RasterSurface.h"

#include <functional>

// A stretch onto a destination far larger than any surface: only the part inside the clip is
// sampled, nearest pixel as the raster back end's scaled copy does, so the work follows the
// clip and no coordinate of the whole destination has to fit a device rectangle. The part is
// handed over in bands, so a page-sized clip needs no page-sized copy.
class VisibleStretch {
public:
    // Receives one band of sampled pixels and where it goes, unscaled.
    using Band = std::function<void(RasterSurface& pixels, const CRect& at)>;
    static constexpr int kBandRows = 256;
    // `from` is the source rectangle and (x0, y0)-(x1, y1) the destination's corners in device
    // units; either running backwards mirrors the copy. False when a band could not be made.
    static bool Sample(RasterSurface& source, const CRect& from, double x0, double y0, double x1,
                       double y1, const CRect& clip, const Band& draw);
};
