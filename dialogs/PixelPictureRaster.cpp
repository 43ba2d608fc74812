#include "dialogs/PixelPictureRaster.h"

CRaster RasterFromPicture(const PixelPicture& p) {
    CRaster img(DWORD(p.width), DWORD(p.height), 24);
    for (int top = 0; top < p.height; ++top)
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t px = p.pixels[std::size_t(top) * std::size_t(p.width) + x];
            // Rows of a raster run bottom-up.
            img.SetPixelColor(x, p.height - 1 - top,
                              RGBQUAD::FromRgb(BYTE(px >> 16), BYTE(px >> 8), BYTE(px)));
        }
    return img;
}
