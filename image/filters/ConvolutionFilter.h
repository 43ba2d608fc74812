#pragma once
#include "image/core/CRaster.h"

#include <cstdint>
#include <span>

class FilterSamples;
class RasterFilterRun;

// A square convolution kernel with its divisor and offset, applied by CRaster::ApplyConvolution.
// At the border the window pixels outside the picture are left out and the sum is rescaled by
// total / remaining weights; a zero-sum kernel (an edge finder) keeps offset + sum there too.
class ConvolutionFilter {
public:
    ConvolutionFilter(std::span<const LONG> kernel, LONG k, LONG divisor, LONG offset);

    bool Apply(CRaster& image) const;

    // Offset plus the scaled sum of one channel, clamped to a byte; `weights` is the sum of
    // the kernel entries whose pixels lie inside the picture.
    BYTE Result(std::int64_t sum, std::int64_t weights) const;

private:
    template <class Accumulator>
    void InteriorRun(const FilterSamples& samples, RasterFilterRun& run, LONG y, LONG x0,
                     LONG x1) const;
    void BorderPixel(const FilterSamples& samples, RasterFilterRun& run, LONG x, LONG y) const;
    void FilterRow(const FilterSamples& samples, RasterFilterRun& run, LONG y) const;

    std::span<const LONG> kernel_;
    LONG k_;
    LONG half_;
    LONG divisor_;
    LONG offset_;
    std::int64_t total_ = 0;
    bool fitsInt32_ = false;
};
