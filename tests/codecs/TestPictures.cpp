#include "TestPictures.h"

#include <cstring>

namespace TestPictures {

CRaster Make(DWORD width, DWORD height, int bpp, DWORD type) {
    CRaster image(width, height, bpp, type);
    for (DWORD i = 0; i < image.GetNumColors(); ++i)
        image.SetPaletteColor(i, static_cast<BYTE>(i * 37 + 11), static_cast<BYTE>(255 - i * 13),
                              static_cast<BYTE>(i * 101 + 50));
    if (bpp == 1) {
        image.SetPaletteColor(0, 20, 40, 60);
        image.SetPaletteColor(1, 250, 240, 230);
    }
    for (DWORD y = 0; y < height; ++y) {
        for (DWORD x = 0; x < width; ++x) {
            const LONG lx = static_cast<LONG>(x);
            const LONG ly = static_cast<LONG>(y);
            if (bpp == 24) {
                image.SetPixelColor(lx, ly,
                                    RGBQUAD::FromRgb(static_cast<BYTE>(x * 7 + y),
                                                     static_cast<BYTE>(y * 5 + 3),
                                                     static_cast<BYTE>((x ^ y) * 3)));
            } else {
                image.SetPixelIndex(lx, ly,
                                    static_cast<BYTE>((x + 3 * y + x * y) % image.GetNumColors()));
            }
        }
    }
    return image;
}

void AddAlpha(CRaster& image) {
    image.CreateAlpha();
    for (DWORD y = 0; y < image.GetHeight(); ++y)
        for (DWORD x = 0; x < image.GetWidth(); ++x)
            image.SetAlpha(static_cast<LONG>(x), static_cast<LONG>(y),
                           (x + y) % 5 == 1 ? 0 : static_cast<BYTE>(255 - (x * 9 + y) % 200));
}

std::vector<BYTE> Snapshot(CRaster& image) {
    const CRaster& c = image;
    std::vector<BYTE> out(c.GetDib(), c.GetDib() + c.GetDibSize());
    if (image.IsAlphaValid()) {
        for (DWORD y = 0; y < image.GetHeight(); ++y) {
            const BYTE* a = image.GetAlphaPointer(0, static_cast<LONG>(y));
            out.insert(out.end(), a, a + image.GetWidth());
        }
    }
    const LONG t = image.GetTransparentIndex();
    out.insert(out.end(), reinterpret_cast<const BYTE*>(&t), reinterpret_cast<const BYTE*>(&t) + 4);
    return out;
}

::testing::AssertionResult SameColors(const CRaster& a, const CRaster& b, bool alpha) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return ::testing::AssertionFailure() << "size " << a.GetWidth() << "x" << a.GetHeight()
                                             << " vs " << b.GetWidth() << "x" << b.GetHeight();
    for (DWORD y = 0; y < a.GetHeight(); ++y) {
        for (DWORD x = 0; x < a.GetWidth(); ++x) {
            const RGBQUAD ca = a.GetPixelColor(static_cast<LONG>(x), static_cast<LONG>(y), false);
            const RGBQUAD cb = b.GetPixelColor(static_cast<LONG>(x), static_cast<LONG>(y), false);
            const bool same =
                ca.rgbRed == cb.rgbRed && ca.rgbGreen == cb.rgbGreen && ca.rgbBlue == cb.rgbBlue;
            const BYTE aa = a.IsAlphaValid() ? a.GetAlpha(LONG(x), LONG(y)) : 255;
            const BYTE ab = b.IsAlphaValid() ? b.GetAlpha(LONG(x), LONG(y)) : 255;
            if (!same || (alpha && aa != ab))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << "," << y << ") rgb(" << int(ca.rgbRed) << ","
                       << int(ca.rgbGreen) << "," << int(ca.rgbBlue) << ") a" << int(aa)
                       << " vs rgb(" << int(cb.rgbRed) << "," << int(cb.rgbGreen) << ","
                       << int(cb.rgbBlue) << ") a" << int(ab);
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace TestPictures
