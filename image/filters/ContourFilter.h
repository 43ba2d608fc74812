#pragma once
#include "image/core/CRaster.h"

class FilterSamples;
class RasterFilterRun;

// The contour of CRaster::ApplyContour: per channel, over the 3 x 3 window, the value of the
// last neighbour whose rise above the pixel exceeds the value kept so far, then its negative.
// Flat areas turn white and the dark side of an edge takes the negative of the bright side.
class ContourFilter {
public:
    bool Apply(CRaster& image) const;

private:
    static void FilterRow(const FilterSamples& samples, RasterFilterRun& run, LONG y);
};
