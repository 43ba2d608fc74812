#pragma once
#include "platform/CRect.h"

#include <cstdint>
#include <vector>

class CRaster;

// The colours a picture puts on the device pixels of a visible area when the whole picture is
// stretched over a target rectangle (device pixels; 64-bit so that far-off placements cannot
// wrap). Source columns and rows are worked out once per column and per row.
//
// Each sample is 0xAARRGGBB where AA is its weight: 0 leaves the device pixel alone, 255
// replaces it, anything between blends. The weight is the source pixel's alpha byte scaled by
// the alpha maximum (and by the palette entry's fourth byte with palette alpha on), or 0 for
// the transparent index or colour; pictures without any of these are opaque throughout.
class RasterDrawSampler {
public:
    RasterDrawSampler(const CRaster& image, std::int64_t x, std::int64_t y, std::int64_t cx,
                      std::int64_t cy, const CRect& area, bool smooth);

    // Device row `row` (area.top <= row < area.bottom): one sample per area column.
    void SampleRow(LONG row, std::uint32_t* out) const;
    // Whether any weight may be below 255.
    bool Composed() const { return composed_; }
    // Whether a weight may lie strictly between 0 and 255.
    bool Blends() const { return blends_; }

private:
    LONG SourceRow(LONG row) const;
    float CentreRow(LONG row) const;
    std::uint32_t Weight(LONG column, const BYTE* alphaRow, int index) const;
    void SampleTrueColor(LONG sourceRow, std::uint32_t* out) const;
    void SampleIndexed(LONG sourceRow, std::uint32_t* out) const;
    void SampleSmooth(LONG row, LONG sourceRow, std::uint32_t* out) const;

    const CRaster& image_;
    std::int64_t y_;
    CRect area_;
    bool smooth_;
    bool composed_;
    bool blends_;
    double fx_;
    double fy_;
    std::vector<LONG> columns_;      // source column of each area column
    std::vector<float> centres_;     // with smoothing: the source x of each column's middle
    std::vector<std::uint32_t> rgb_; // palette as 0x00RRGGBB
    std::vector<int> paletteAlpha_;  // palette alpha factors (fourth byte + 1), when used
    int transparentIndex_ = -1;
    std::uint32_t transparentRgb_ = 0;
    bool transparentColor_ = false;
    int alphaScale_;
};
