#include "image/filters/FilterSamples.h"

FilterSamples::FilterSamples(const CRaster& image) : image_(image) {
    if (image.GetBpp() == 24) {
        kind_ = Kind::TrueColor;
        channels_ = 3;
    } else if (image.GetBpp() == 8 && image.IsGrayScale()) {
        kind_ = Kind::GreyIndexes;
        channels_ = 1;
    } else {
        kind_ = Kind::PaletteColors;
        channels_ = 3;
        const std::size_t width = image.GetWidth();
        expanded_.resize(width * image.GetHeight() * 3);
        BYTE* out = expanded_.data();
        for (LONG y = 0; y < LONG(image.GetHeight()); ++y)
            for (LONG x = 0; x < LONG(width); ++x, out += 3) {
                const RGBQUAD c = image.BlindGetPixelColor(x, y, false);
                out[0] = c.rgbBlue;
                out[1] = c.rgbGreen;
                out[2] = c.rgbRed;
            }
    }
}

const BYTE* FilterSamples::Row(LONG y) const {
    if (kind_ == Kind::PaletteColors)
        return expanded_.data() + std::size_t(y) * image_.GetWidth() * 3;
    return image_.GetBits(DWORD(y));
}

void FilterSamples::Store(CRaster& target, LONG x, LONG y, const BYTE* values) const {
    switch (kind_) {
    case Kind::GreyIndexes:
        target.GetBits(DWORD(y))[x] = values[0];
        break;
    case Kind::TrueColor: {
        BYTE* p = target.GetBits(DWORD(y)) + std::size_t(x) * 3;
        p[0] = values[0];
        p[1] = values[1];
        p[2] = values[2];
        break;
    }
    case Kind::PaletteColors:
        target.BlindSetPixelColor(x, y, RGBQUAD{values[0], values[1], values[2], 0}, false);
        break;
    }
}
