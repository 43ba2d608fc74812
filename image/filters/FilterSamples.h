#pragma once
#include "image/core/CRaster.h"

#include <vector>

// The values a channel filter reads and writes: the indexes of an 8-bit grey ramp (one
// channel), the blue, green and red bytes of a 24-bit picture, or those of the palette
// colours of any other palette picture (three channels).
class FilterSamples {
public:
    explicit FilterSamples(const CRaster& image);

    int Channels() const { return channels_; }
    // Row y of the values, width x Channels() bytes.
    const BYTE* Row(LONG y) const;
    // Writes the values of one pixel into `target` (same size and depth as the source): the
    // index or bytes straight, or the nearest palette colour.
    void Store(CRaster& target, LONG x, LONG y, const BYTE* values) const;

private:
    enum class Kind { GreyIndexes, TrueColor, PaletteColors };

    const CRaster& image_;
    Kind kind_;
    int channels_;
    std::vector<BYTE> expanded_; // palette colours, rows packed
};
