// The pixel filters of CRaster; each works through its own filter class.
#include "image/core/CRaster.h"

#include "image/filters/ContourFilter.h"
#include "image/filters/ConvolutionFilter.h"
#include "image/filters/JitterFilter.h"
#include "image/filters/MedianFilter.h"

bool CRaster::ApplyConvolution(std::span<const LONG> kernel, LONG k, LONG divisor, LONG offset) {
    return ConvolutionFilter(kernel, k, divisor, offset).Apply(*this);
}

bool CRaster::ApplyMedian(LONG k) {
    return MedianFilter(k).Apply(*this);
}

bool CRaster::ApplyContour() {
    return ContourFilter().Apply(*this);
}

bool CRaster::ApplyJitter(LONG radius, CrtRandom& random) {
    return JitterFilter(radius, random).Apply(*this);
}
