#pragma once
#include "image/core/CRaster.h"

class CrtRandom;
class RasterFilterRun;

// The jitter of CRaster::ApplyJitter: each visited pixel, rows from the bottom and columns from
// the left, draws two numbers and takes the index or colour and the alpha of the pixel that far
// off (up to the radius each way), or keeps its own when that lies outside the picture.
class JitterFilter {
public:
    JitterFilter(LONG radius, CrtRandom& random) : radius_(radius), random_(random) {}

    bool Apply(CRaster& image) const;

private:
    LONG Offset() const;
    void FilterRow(RasterFilterRun& run, LONG y) const;

    LONG radius_;
    CrtRandom& random_;
};
