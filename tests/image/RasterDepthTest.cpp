#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CRaster Uniform24(DWORD w, DWORD h, BYTE v) {
    CRaster img(w, h, 24);
    std::memset(img.GetBits(), v, img.GetStride() * h);
    return img;
}

} // namespace

TEST(DecreaseBpp, NearestColoursWithoutDiffusion) {
    CRaster img(3, 1, 24);
    img.SetPixelColor(0, 0, RGBQUAD::FromRgb(10, 10, 10));
    img.SetPixelColor(1, 0, RGBQUAD::FromRgb(200, 190, 210));
    img.SetPixelColor(2, 0, RGBQUAD::FromRgb(250, 2, 3));
    CRaster eight(img);
    ASSERT_TRUE(img.DecreaseBpp(1, false));
    EXPECT_EQ(img.GetBpp(), 1);
    EXPECT_EQ(img.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(img.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(img.GetPixelIndex(2, 0), 0); // dark by distance: (250,2,3) is nearer black
    ASSERT_TRUE(eight.DecreaseBpp(8, false));
    EXPECT_EQ(eight.GetPixelIndex(2, 0), 249);
    EXPECT_EQ(eight.GetProgress(), 100);
}

TEST(DecreaseBpp, DiffusionSpreadsTheErrorSevenTwoFourOne) {
    // Mid-grey to black and white, worked by hand: row 0 (bottom) alternates white, black;
    // the errors pushed into row 1 flip its phase.
    CRaster img = Uniform24(4, 2, 128);
    ASSERT_TRUE(img.DecreaseBpp(1, true));
    const int expected[2][4] = {{1, 0, 1, 0}, {0, 1, 0, 1}};
    for (LONG y = 0; y < 2; ++y)
        for (LONG x = 0; x < 4; ++x)
            EXPECT_EQ(img.GetPixelIndex(x, y), expected[y][x]) << x << "," << y;

    CRaster big = Uniform24(16, 16, 128);
    ASSERT_TRUE(big.DecreaseBpp(1, true));
    int white = 0;
    for (LONG y = 0; y < 16; ++y)
        for (LONG x = 0; x < 16; ++x)
            white += big.GetPixelIndex(x, y);
    EXPECT_GT(white, 96);
    EXPECT_LT(white, 160);
}

TEST(DecreaseBpp, SameDepthAndRefusals) {
    CRaster four(2, 2, 4);
    four.SetStdPalette();
    four.SetPixelIndex(1, 1, 12);
    EXPECT_FALSE(four.DecreaseBpp(8, false));
    EXPECT_STREQ(four.GetLastError(), "DecreaseBpp: target BPP greater than source BPP");
    const BYTE* bits = four.GetBits();
    EXPECT_TRUE(four.DecreaseBpp(4, false, nullptr, 0));
    EXPECT_EQ(four.GetBits(), bits);
    four.SetClrImportant(4);
    EXPECT_TRUE(four.DecreaseBpp(4, false, nullptr, 8)); // already fewer than asked
    EXPECT_EQ(four.GetBits(), bits);
    // Fewer important colours at the same depth converts: with black, maroon and green left,
    // blue (12) goes to black.
    EXPECT_TRUE(four.DecreaseBpp(4, false, nullptr, 3));
    EXPECT_EQ(four.GetClrImportant(), 3u);
    EXPECT_EQ(four.GetPixelIndex(1, 1), 0);
    EXPECT_EQ(four.GetPixelIndex(0, 0), 0);
    CRaster none;
    EXPECT_FALSE(none.DecreaseBpp(1, false));
}

TEST(DecreaseBpp, CallersPaletteAndImportantCount) {
    CRaster img(2, 1, 24);
    img.SetPixelColor(0, 0, RGBQUAD::FromRgb(0, 0, 250));
    img.SetPixelColor(1, 0, RGBQUAD::FromRgb(0, 250, 0));
    const RGBQUAD pal[3] = {RGBQUAD::FromRgb(0, 0, 255), RGBQUAD::FromRgb(0, 255, 0),
                            RGBQUAD::FromRgb(0, 255, 0)};
    ASSERT_TRUE(img.DecreaseBpp(4, false, pal, 3));
    EXPECT_EQ(img.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(img.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(img.GetPaletteColor(2), RGBQUAD::FromRgb(0, 255, 0));
    EXPECT_EQ(img.GetPaletteColor(3), RGBQUAD{}); // not given: left cleared
}

TEST(DecreaseBpp, PaletteSourcesDiffuseWithoutLosingPrecision) {
    CRaster grey(8, 8, 8);
    grey.SetGrayPalette();
    grey.Clear(128);
    ASSERT_TRUE(grey.DecreaseBpp(1, true));
    EXPECT_EQ(grey.GetPixelIndex(0, 0), 1);
    EXPECT_EQ(grey.GetPixelIndex(1, 0), 0);
}

TEST(DecreaseBpp, CancelledConversionFailsAndLeavesThePicture) {
    CRaster img = Uniform24(4, 4, 77);
    const BYTE* bits = img.GetBits();
    img.SetEscape(1);
    EXPECT_FALSE(img.DecreaseBpp(8, true));
    EXPECT_STREQ(img.GetLastError(), "Cancelled");
    EXPECT_EQ(img.GetBpp(), 24);
    EXPECT_EQ(img.GetBits(), bits);
    EXPECT_EQ(img.GetPixelColor(3, 3, false), RGBQUAD::FromRgb(77, 77, 77));
    EXPECT_FALSE(img.IncreaseBpp(24) && img.GetBpp() != 24);
}

TEST(DepthConversion, PlanesAndOptionsSurviveBothWays) {
    CRaster img = Uniform24(3, 3, 200);
    img.SetXDpi(150);
    ASSERT_TRUE(img.CreateAlpha());
    img.SetAlpha(2, 1, 33);
    ASSERT_TRUE(img.CreateSelection());
    img.SetSelectionByte(1, 2, 1);
    ASSERT_TRUE(img.DecreaseBpp(4, true));
    EXPECT_EQ(img.GetAlpha(2, 1), 33);
    EXPECT_TRUE(img.IsInsideSelection(1, 2));
    EXPECT_FALSE(img.IsInsideSelection(0, 0));
    EXPECT_EQ(img.GetXDpi(), 150);
    ASSERT_TRUE(img.IncreaseBpp(24));
    EXPECT_EQ(img.GetAlpha(2, 1), 33);
    EXPECT_EQ(img.GetAlpha(0, 0), 255);
    EXPECT_TRUE(img.IsInsideSelection(1, 2));
    EXPECT_EQ(img.GetHeader().biXPelsPerMeter, 5906);
}

TEST(IncreaseBpp, KeepsIndexesAndColours) {
    CRaster one(9, 2, 1);
    one.SetPaletteColor(0, 10, 20, 30);
    one.SetPaletteColor(1, 200, 100, 50);
    one.SetPixelIndex(8, 1, 1);
    ASSERT_TRUE(one.IncreaseBpp(4));
    EXPECT_EQ(one.GetBpp(), 4);
    EXPECT_EQ(one.GetPixelIndex(8, 1), 1);
    EXPECT_EQ(one.GetPixelIndex(7, 1), 0);
    EXPECT_EQ(one.GetPaletteColor(1), RGBQUAD::FromRgb(200, 100, 50));
    EXPECT_EQ(one.GetPaletteColor(2), RGBQUAD{});
    ASSERT_TRUE(one.IncreaseBpp(8));
    EXPECT_EQ(one.GetPixelIndex(8, 1), 1);
    ASSERT_TRUE(one.IncreaseBpp(24));
    EXPECT_EQ(one.GetPixelColor(8, 1), RGBQUAD::FromRgb(200, 100, 50));
    EXPECT_EQ(one.GetPixelColor(0, 0), RGBQUAD::FromRgb(10, 20, 30));
    EXPECT_FALSE(one.IsAlphaValid());
    EXPECT_TRUE(one.IncreaseBpp(24));
    EXPECT_FALSE(one.IncreaseBpp(8));
    EXPECT_FALSE(one.IncreaseBpp(32));
    EXPECT_EQ(one.GetBpp(), 24);
}

TEST(IncreaseBpp, PaletteAlphaToTrueColour) {
    CRaster img(2, 1, 8);
    img.SetPaletteColor(0, 1, 2, 3, 0);
    img.SetPaletteColor(5, 90, 80, 70, 128);
    img.SetPixelIndex(1, 0, 5);
    ASSERT_TRUE(img.IncreaseBpp(24));
    ASSERT_TRUE(img.IsAlphaValid());
    EXPECT_EQ(img.GetAlpha(1, 0), 128);
    EXPECT_EQ(img.GetAlpha(0, 0), 0);
    EXPECT_EQ(img.GetPixelColor(1, 0, false), RGBQUAD::FromRgb(90, 80, 70));
}

// The transparent index becomes alpha 0 on exactly its own pixels: an opaque entry of the same
// colour (white beside a white transparent entry is common) stays opaque when drawn.
TEST(IncreaseBpp, TransparentIndexBecomesAlphaNotAColourKey) {
    for (const DWORD bpp : {1u, 4u, 8u}) {
        CRaster img(3, 2, bpp);
        img.SetPaletteColor(0, 255, 255, 255);
        img.SetPaletteColor(1, 255, 255, 255);
        img.SetPixelIndex(0, 0, 1);
        img.SetPixelIndex(2, 1, 1);
        img.SetTransparentIndex(1);
        ASSERT_TRUE(img.IncreaseBpp(24)) << bpp;
        EXPECT_FALSE(img.IsTransparent()) << bpp;
        ASSERT_TRUE(img.IsAlphaValid()) << bpp;
        for (LONG y = 0; y < 2; ++y)
            for (LONG x = 0; x < 3; ++x) {
                const bool hidden = (x == 0 && y == 0) || (x == 2 && y == 1);
                EXPECT_EQ(img.GetAlpha(x, y), hidden ? 0 : 255) << bpp << " " << x << "," << y;
                EXPECT_EQ(img.GetPixelColor(x, y, false), RGBQUAD::FromRgb(255, 255, 255));
            }
    }
    // An alpha plane already there keeps its levels beside the transparent pixels.
    CRaster img(2, 1, 8);
    img.SetPixelIndex(1, 0, 7);
    img.SetTransparentIndex(7);
    ASSERT_TRUE(img.CreateAlpha());
    img.SetAlpha(0, 0, 90);
    ASSERT_TRUE(img.IncreaseBpp(24));
    EXPECT_EQ(img.GetAlpha(0, 0), 90);
    EXPECT_EQ(img.GetAlpha(1, 0), 0);
}

TEST(DecreaseBpp, EveryLowerDepthPicksTheStandardEntries) {
    struct Case {
        DWORD from, to;
        BYTE black, white, red;
    };
    const Case cases[] = {{24, 8, 0, 255, 249}, {24, 4, 0, 15, 9}, {24, 1, 0, 1, 0},
                          {8, 4, 0, 15, 9},     {8, 1, 0, 1, 0},   {4, 1, 0, 1, 0}};
    for (const Case& c : cases) {
        CRaster img(3, 1, c.from);
        img.SetStdPalette();
        img.SetPixelColor(0, 0, RGBQUAD::FromRgb(20, 0, 0));
        img.SetPixelColor(1, 0, RGBQUAD::FromRgb(250, 250, 250));
        img.SetPixelColor(2, 0, RGBQUAD::FromRgb(255, 0, 0));
        ASSERT_TRUE(img.DecreaseBpp(c.to, false)) << c.from << "->" << c.to;
        EXPECT_EQ(img.GetBpp(), c.to);
        EXPECT_EQ(img.GetPixelIndex(0, 0), c.black) << c.from << "->" << c.to;
        EXPECT_EQ(img.GetPixelIndex(1, 0), c.white) << c.from << "->" << c.to;
        EXPECT_EQ(img.GetPixelIndex(2, 0), c.red) << c.from << "->" << c.to;
    }
}
