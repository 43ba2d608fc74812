#pragma once
#include "image/core/CRaster.h"

#include <cstdint>
#include <vector>

class RasterFilterRun;

// The median of CRaster::ApplyMedian: each pixel takes the colour (with alpha) at position
// count / 2 of its window pixels sorted by luminance, ties kept in window order (rows from
// the lowest up, columns from the left), so a result always repeats.
class MedianFilter {
public:
    explicit MedianFilter(LONG k) : k_(k), half_(k / 2) {}

    bool Apply(CRaster& image) const;

private:
    void FilterRow(RasterFilterRun& run, const std::vector<BYTE>& luminance, LONG y,
                   std::vector<std::uint32_t>& keys) const;

    LONG k_;
    LONG half_;
};
