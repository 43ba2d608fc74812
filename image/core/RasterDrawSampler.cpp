#include "image/core/RasterDrawSampler.h"

#include "image/core/CRaster.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint32_t PackRgb(RGBQUAD c) {
    return (std::uint32_t{c.rgbRed} << 16) | (std::uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
}

LONG ClampFloor(double v, LONG size) {
    if (!(v > 0.0))
        return 0;
    return static_cast<LONG>(std::min(std::floor(v), static_cast<double>(size - 1)));
}

} // namespace

RasterDrawSampler::RasterDrawSampler(const CRaster& image, std::int64_t x, std::int64_t y,
                                     std::int64_t cx, std::int64_t cy, const CRect& area,
                                     bool smooth)
    : image_(image), y_(y), area_(area), smooth_(smooth),
      fx_(static_cast<double>(image.GetWidth()) / static_cast<double>(cx)),
      fy_(static_cast<double>(image.GetHeight()) / static_cast<double>(cy)),
      alphaScale_(image.GetAlphaMax() + 1) {
    const CRasterInfo& info = image.Info();
    composed_ = image.IsTransparent() || image.IsAlphaValid() || info.paletteAlpha;
    blends_ = image.IsAlphaValid() || info.paletteAlpha || image.GetAlphaMax() != 255;
    const LONG width = static_cast<LONG>(image.GetWidth());
    columns_.resize(static_cast<std::size_t>(std::max(area.Width(), 0)));
    if (smooth)
        centres_.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const double sx = static_cast<double>(area.left + LONG(i) - x) * fx_;
        columns_[i] = ClampFloor(sx, width);
        if (smooth)
            centres_[i] = static_cast<float>(sx + fx_ / 2.0 - 0.5);
    }
    if (image.IsIndexed()) {
        rgb_.resize(256);
        for (DWORD i = 0; i < image.GetNumColors(); ++i)
            rgb_[i] = PackRgb(image.GetPaletteColor(i));
        if (info.paletteAlpha) {
            paletteAlpha_.assign(256, 1);
            for (DWORD i = 0; i < image.GetNumColors(); ++i)
                paletteAlpha_[i] = image.GetPaletteColor(i).rgbReserved + 1;
        }
        transparentIndex_ = image.GetTransparentIndex();
    } else if (image.IsTransparent()) {
        transparentColor_ = true;
        transparentRgb_ = PackRgb(image.GetTransparentColor());
    }
}

// The device row's lower edge in storage rows, which count from the bottom line.
LONG RasterDrawSampler::SourceRow(LONG row) const {
    const double sy =
        static_cast<double>(image_.GetHeight()) - static_cast<double>(row - y_ + 1) * fy_;
    return ClampFloor(sy, static_cast<LONG>(image_.GetHeight()));
}

float RasterDrawSampler::CentreRow(LONG row) const {
    const double sy =
        static_cast<double>(image_.GetHeight()) - static_cast<double>(row - y_ + 1) * fy_;
    return static_cast<float>(sy + fy_ / 2.0 - 0.5);
}

// Weight of the source pixel in `column` of the row whose alpha bytes are `alphaRow`; `index` is
// its palette index (-1 for 24 bits).
std::uint32_t RasterDrawSampler::Weight(LONG column, const BYTE* alphaRow, int index) const {
    if (index >= 0 && index == transparentIndex_)
        return 0;
    int a = alphaRow ? alphaRow[column] : 255;
    a = (a * alphaScale_) >> 8;
    if (index >= 0 && !paletteAlpha_.empty())
        a = (a * paletteAlpha_[static_cast<std::size_t>(index)]) >> 8;
    return static_cast<std::uint32_t>(a);
}

void RasterDrawSampler::SampleRow(LONG row, std::uint32_t* out) const {
    const LONG sourceRow = SourceRow(row);
    if (smooth_)
        SampleSmooth(row, sourceRow, out);
    else if (image_.IsIndexed())
        SampleIndexed(sourceRow, out);
    else
        SampleTrueColor(sourceRow, out);
}

void RasterDrawSampler::SampleTrueColor(LONG sourceRow, std::uint32_t* out) const {
    const BYTE* bits = image_.GetBits(static_cast<DWORD>(sourceRow));
    const BYTE* alpha = image_.GetAlphaPointer(0, sourceRow);
    // Without alpha plane every pixel but the transparent colour has the same weight; no
    // 24-bit colour matches 0xFFFFFFFF, so without transparency nothing is hidden.
    const std::uint32_t plain = composed_ ? Weight(0, nullptr, -1) : 255;
    const std::uint32_t hidden = transparentColor_ ? transparentRgb_ : 0xFFFFFFFFu;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const BYTE* p = bits + std::size_t(columns_[i]) * 3;
        const std::uint32_t rgb = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
        std::uint32_t w = alpha ? Weight(columns_[i], alpha, -1) : plain;
        if (rgb == hidden)
            w = 0;
        out[i] = (w << 24) | rgb;
    }
}

void RasterDrawSampler::SampleIndexed(LONG sourceRow, std::uint32_t* out) const {
    const BYTE* alpha = image_.GetAlphaPointer(0, sourceRow);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const BYTE index = image_.BlindGetPixelIndex(columns_[i], sourceRow);
        const std::uint32_t w = composed_ ? Weight(columns_[i], alpha, index) : 255;
        out[i] = (w << 24) | rgb_[index];
    }
}

// Averages (shrinking) or interpolates (enlarging) around each device pixel's middle; the
// weight and the transparent index still come from the source pixel under the pixel.
void RasterDrawSampler::SampleSmooth(LONG row, LONG sourceRow, std::uint32_t* out) const {
    const BYTE* alpha = image_.GetAlphaPointer(0, sourceRow);
    const float cy = CentreRow(row);
    const float w = static_cast<float>(fx_);
    const float h = static_cast<float>(fy_);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const RGBQUAD c = image_.GetAreaColorInterpolated(
            centres_[i], cy, w, h, CRaster::kInterpolateBilinear, CRaster::kOverflowRepeat);
        const std::uint32_t rgb = PackRgb(c);
        std::uint32_t weight = 255;
        if (composed_) {
            const int index =
                image_.IsIndexed() ? image_.BlindGetPixelIndex(columns_[i], sourceRow) : -1;
            weight = (transparentColor_ && rgb == transparentRgb_)
                         ? 0
                         : Weight(columns_[i], alpha, index);
        }
        out[i] = (weight << 24) | rgb;
    }
}
