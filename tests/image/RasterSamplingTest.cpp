#include "image/core/CRaster.h"
#include "image/core/CRasterFloatRect.h"
#include "image/core/ResampleKernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Red rises by 10 per column, green by 20 per row.
CRaster Gradient(DWORD width, DWORD height) {
    CRaster img(width, height, 24);
    for (LONG y = 0; y < LONG(height); ++y)
        for (LONG x = 0; x < LONG(width); ++x)
            img.SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(10 * x), BYTE(20 * y), 50));
    return img;
}

bool Near(RGBQUAD a, RGBQUAD b, int tolerance) {
    return std::abs(a.rgbRed - b.rgbRed) <= tolerance &&
           std::abs(a.rgbGreen - b.rgbGreen) <= tolerance &&
           std::abs(a.rgbBlue - b.rgbBlue) <= tolerance;
}

constexpr int kRepeat = CRaster::kOverflowRepeat;

} // namespace

TEST(RasterOverflow, WrapRepeatAndMirrorMoveOutsidePositionsInside) {
    CRaster img(5, 3, 24);
    struct Case {
        int method;
        LONG x, y, wantX, wantY;
    };
    for (const Case& c :
         {Case{CRaster::kOverflowWrap, -1, 4, 4, 1}, Case{CRaster::kOverflowWrap, 12, -7, 2, 2},
          Case{kRepeat, -9, 8, 0, 2}, Case{kRepeat, 7, 1, 4, 1},
          Case{CRaster::kOverflowMirror, -2, 3, 2, 2}, Case{CRaster::kOverflowMirror, 6, -1, 3, 1},
          Case{CRaster::kOverflowColor, -1, 9, -1, 9},
          Case{CRaster::kOverflowMirror, INT32_MIN, 1, 3, 1}}) {
        LONG x = c.x, y = c.y;
        img.OverflowCoordinates(x, y, c.method);
        EXPECT_EQ(x, c.wantX) << c.method << " " << c.x;
        EXPECT_EQ(y, c.wantY) << c.method << " " << c.y;
    }
    float fx = -0.25f, fy = 1.5f;
    img.OverflowCoordinates(fx, fy, kRepeat);
    EXPECT_EQ(fx, 0.0f);
    EXPECT_EQ(fy, 1.5f); // inside: untouched
    fx = NAN;
    img.OverflowCoordinates(fx, fy, CRaster::kOverflowWrap);
    EXPECT_EQ(fx, 0.0f);
}

TEST(RasterOverflow, OutsideColoursFollowTheMethod) {
    CRaster img = Gradient(4, 4);
    const RGBQUAD grey = RGBQUAD::FromRgb(9, 9, 9, 77);
    const RGBQUAD white = RGBQUAD::FromRgb(255, 255, 255, 0);
    EXPECT_EQ(img.GetPixelColorWithOverflow(-1, 0, CRaster::kOverflowColor), white);
    EXPECT_EQ(img.GetPixelColorWithOverflow(9, 0, CRaster::kOverflowBackground, &grey), grey);
    img.SetTransparentIndex(0);
    img.SetTransparentColor(RGBQUAD::FromRgb(1, 2, 3));
    EXPECT_EQ(img.GetPixelColorWithOverflow(9, 0, CRaster::kOverflowBackground, &grey),
              RGBQUAD::FromRgb(1, 2, 3));
    EXPECT_EQ(img.GetPixelColorWithOverflow(9, 0, CRaster::kOverflowTransparent, &grey),
              RGBQUAD::FromRgb(1, 2, 3));
    img.CreateAlpha();
    img.SetAlpha(3, 0, 40);
    EXPECT_EQ(img.GetPixelColorWithOverflow(9, 0, CRaster::kOverflowTransparent, &grey),
              RGBQUAD::FromRgb(9, 9, 9, 0));
    EXPECT_EQ(img.GetPixelColorWithOverflow(9, 0, kRepeat), RGBQUAD::FromRgb(30, 0, 50, 40));

    CRaster pal(2, 2, 8);
    pal.SetStdPalette();
    pal.SetTransparentIndex(7);
    EXPECT_EQ(pal.GetPixelColorWithOverflow(-3, 0, CRaster::kOverflowBackground),
              pal.GetPaletteColor(7));
    EXPECT_EQ(CRaster().GetPixelColorWithOverflow(0, 0, kRepeat), RGBQUAD{});
}

TEST(RasterInterpolation, BilinearHitsCentresEdgesAndMidpoints) {
    CRaster img = Gradient(5, 4);
    const int bilinear = CRaster::kInterpolateBilinear;
    EXPECT_EQ(img.GetPixelColorInterpolated(2.0f, 3.0f, bilinear, kRepeat),
              img.GetPixelColor(2, 3, false));
    EXPECT_EQ(img.GetPixelColorInterpolated(4.5f, 1.0f, bilinear, kRepeat),
              img.GetPixelColor(4, 1, false));
    EXPECT_EQ(img.GetPixelColorInterpolated(-0.5f, -0.5f, bilinear, kRepeat),
              img.GetPixelColor(0, 0, false));
    // Fast path (24-bit, all inside) and general path agree on a linear gradient.
    EXPECT_TRUE(Near(img.GetPixelColorInterpolated(1.5f, 2.25f, bilinear, kRepeat),
                     RGBQUAD::FromRgb(15, 45, 50), 1));
    CRaster indexed(img);
    indexed.DecreaseBpp(8, false, nullptr);
    indexed.SetGrayPalette();
    indexed.SetPixelIndex(1, 2, 100);
    indexed.SetPixelIndex(2, 2, 200);
    EXPECT_EQ(indexed.GetPixelColorInterpolated(1.5f, 2.0f, bilinear, kRepeat).rgbRed, 150);
    // Far outside with a colour method: the replacement.
    const RGBQUAD red = RGBQUAD::FromRgb(255, 0, 0);
    EXPECT_EQ(img.GetPixelColorInterpolated(-9.0f, 1.0f, bilinear, CRaster::kOverflowColor, &red),
              red);
    // Alpha is mixed like the channels.
    img.CreateAlpha();
    img.SetAlpha(0, 0, 0);
    img.SetAlpha(1, 0, 200);
    EXPECT_EQ(img.GetPixelColorInterpolated(0.5f, 0.0f, bilinear, kRepeat).rgbReserved, 100);
    EXPECT_EQ(img.GetPixelColorInterpolated(0.5f, 0.0f, CRaster::kInterpolateNearest, kRepeat)
                  .rgbReserved,
              200);
}

TEST(RasterInterpolation, KernelModesKeepConstantsAndInterpolatingOnesHitPixels) {
    CRaster flat(9, 9, 24);
    for (LONG y = 0; y < 9; ++y)
        for (LONG x = 0; x < 9; ++x)
            flat.SetPixelColor(x, y, RGBQUAD::FromRgb(200, 100, 40));
    // Modes whose weights add up to one at every offset.
    for (int mode : {3, 4, 5, 6, 7, 8, 13, 14, 15, 16}) {
        SCOPED_TRACE(mode);
        for (float x : {0.0f, 3.3f, 4.5f, 8.9f})
            EXPECT_TRUE(Near(flat.GetPixelColorInterpolated(x, 4.7f, mode, kRepeat),
                             RGBQUAD::FromRgb(200, 100, 40), 4));
    }
    // Modes that are 1 at zero and 0 at whole distances give back the pixel itself.
    const CRaster img = Gradient(9, 9);
    for (int mode : {2, 4, 5, 6, 7, 8, 10, 16, 17, 18}) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(Near(img.GetPixelColorInterpolated(4.0f, 3.0f, mode, kRepeat),
                         img.GetPixelColor(4, 3, false), 1));
    }
    for (int mode = ResampleKernel::kFirstMode; mode <= ResampleKernel::kLastMode; ++mode)
        for (float x = -7.0f; x <= 7.0f; x += 0.125f)
            ASSERT_TRUE(std::isfinite(ResampleKernel::Weight(mode, x))) << mode << " " << x;
    EXPECT_NEAR(ResampleKernel::Weight(12, 0.0f), 0.7853982f, 1e-6f);
    EXPECT_NEAR(ResampleKernel::Weight(12, 1e-4f), 0.7853982f, 1e-3f);
    EXPECT_EQ(ResampleKernel::Weight(17, 0.0f), 1.0f);
    EXPECT_EQ(ResampleKernel::Weight(11, 1.5f), 0.0f);
}

TEST(RasterInterpolation, AreasAverageByCoveredShare) {
    CRaster img(4, 4, 24);
    img.SetPixelColor(1, 1, RGBQUAD::FromRgb(200, 0, 0));
    img.SetPixelColor(2, 1, RGBQUAD::FromRgb(0, 200, 0));
    img.SetPixelColor(1, 2, RGBQUAD::FromRgb(0, 0, 200));
    img.SetPixelColor(2, 2, RGBQUAD::FromRgb(100, 100, 100));
    const int bilinear = CRaster::kInterpolateBilinear;
    // A 2 x 2 area centred on the corner shared by four pixels.
    EXPECT_EQ(img.GetAreaColorInterpolated(1.5f, 1.5f, 2.0f, 2.0f, bilinear, kRepeat),
              RGBQUAD::FromRgb(75, 75, 75));
    // Small areas are plain interpolation.
    EXPECT_EQ(img.GetAreaColorInterpolated(1.0f, 1.0f, 1.0f, 0.5f, bilinear, kRepeat),
              RGBQUAD::FromRgb(200, 0, 0));
    // Wide but flat: samples along x only.
    EXPECT_EQ(img.GetAreaColorInterpolated(1.5f, 1.0f, 2.0f, 1.0f, bilinear, kRepeat),
              RGBQUAD::FromRgb(100, 100, 0));
    // Half the area beyond the left edge repeats the edge column.
    const CRaster grad = Gradient(8, 8);
    EXPECT_TRUE(Near(grad.GetAreaColorInterpolated(-0.5f, 2.0f, 3.0f, 3.0f, bilinear, kRepeat),
                     RGBQUAD::FromRgb(1, 40, 50), 1));
    EXPECT_EQ(
        grad.GetAreaColorInterpolated(-50.0f, 2.0f, 3.0f, 3.0f, bilinear, CRaster::kOverflowColor),
        RGBQUAD::FromRgb(255, 255, 255));
    EXPECT_EQ(grad.GetAreaColorInterpolated(NAN, 2.0f, 3.0f, 3.0f, bilinear, kRepeat),
              RGBQUAD::FromRgb(255, 255, 255));

    const CRasterFloatRect a(0, 0, 4, 2), b(3, 1, 6, 5);
    const CRasterFloatRect both = a.Intersection(b);
    EXPECT_EQ(both.Surface(), 1.0f);
    EXPECT_EQ(both.Center().x, 3.5f);
    EXPECT_EQ(a.Intersection(CRasterFloatRect(5, 5, 6, 6)).Surface(), 0.0f);
}
