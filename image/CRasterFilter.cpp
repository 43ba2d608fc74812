// The pixel filters of CRaster; each works through its own filter class.
#include "image/CRaster.h"

#include "image/ContourFilter.h"
#include "image/ConvolutionFilter.h"
#include "image/JitterFilter.h"
#include "image/MedianFilter.h"

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
