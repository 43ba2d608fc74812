#include "image/core/CNearestColorCache.h"
#include "image/core/CRaster.h"
#include "image/core/StandardPalette.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

TEST(RasterPixels, IndexesPackAtEveryPaletteDepth) {
    CRaster one(10, 2, 1);
    one.SetPixelIndex(0, 0, 1);
    one.SetPixelIndex(9, 1, 3); // low bit only
    EXPECT_EQ(one.GetBits(0)[0], 0x80);
    EXPECT_EQ(one.GetBits(1)[1], 0x40);
    EXPECT_EQ(one.GetPixelIndex(9, 1), 1);
    one.SetPixelIndex(0, 0, 0);
    EXPECT_EQ(one.GetBits(0)[0], 0x00);

    CRaster four(3, 1, 4);
    four.SetPixelIndex(0, 0, 0xA);
    four.SetPixelIndex(1, 0, 0x1F); // low 4 bits only
    four.SetPixelIndex(2, 0, 0x5);
    EXPECT_EQ(four.GetBits()[0], 0xAF);
    EXPECT_EQ(four.GetBits()[1], 0x50);
    EXPECT_EQ(four.GetPixelIndex(1, 0), 0xF);

    CRaster eight(2, 2, 8);
    eight.SetPixelIndex(1, 1, 200);
    EXPECT_EQ(eight.GetBits(1)[1], 200);
    EXPECT_EQ(eight.GetPixelIndex(1, 1), 200);
}

TEST(RasterPixels, OutsideReadsFollowTheTransparencyRules) {
    CRaster img(2, 2, 8);
    img.SetStdPalette();
    img.SetPixelIndex(0, 0, 9);
    img.SetPixelIndex(-1, 0, 5); // ignored
    img.SetPixelIndex(2, 0, 5);
    EXPECT_EQ(img.GetPixelIndex(5, 5), 9); // first pixel byte
    EXPECT_EQ(img.GetPixelColor(-1, 0), img.GetPaletteColor(9));
    img.SetTransparentIndex(3);
    EXPECT_EQ(img.GetPixelIndex(5, 5), 3);
    EXPECT_EQ(img.GetPixelColor(-1, 0), img.GetPaletteColor(3));

    CRaster rgb(2, 2, 24);
    rgb.SetPixelColor(0, 0, RGBQUAD::FromRgb(1, 2, 3));
    rgb.CreateAlpha();
    rgb.SetAlpha(0, 0, 77);
    EXPECT_EQ(rgb.GetPixelColor(9, 9), RGBQUAD::FromRgb(1, 2, 3, 77));
    rgb.Info().transparentIndex = 0;
    rgb.SetTransparentColor(RGBQUAD::FromRgb(4, 5, 6));
    EXPECT_EQ(rgb.GetPixelColor(9, 9), RGBQUAD::FromRgb(4, 5, 6));
    EXPECT_EQ(rgb.GetPixelIndex(0, 0), 0); // no palette
    CRaster none;
    EXPECT_EQ(none.GetPixelColor(0, 0), RGBQUAD{});
}

TEST(RasterPixels, ColoursWithAndWithoutAlpha) {
    CRaster img(3, 2, 24);
    img.SetPixelColorRef(2, 1, RGB(10, 20, 30));
    EXPECT_EQ(img.GetPixelPointer(2, 1)[0], 30); // stored blue first
    EXPECT_EQ(img.GetPixelColor(2, 1), RGBQUAD::FromRgb(10, 20, 30));
    img.SetPixelColor(1, 1, RGBQUAD::FromRgb(1, 1, 1, 50), true); // no plane: alpha dropped
    img.CreateAlpha();
    img.SetPixelColor(1, 1, RGBQUAD::FromRgb(1, 1, 1, 50), true);
    EXPECT_EQ(img.GetAlpha(1, 1), 50);
    EXPECT_EQ(img.GetPixelColor(1, 1).rgbReserved, 50);
    EXPECT_EQ(img.GetPixelColor(1, 1, false).rgbReserved, 0);
    EXPECT_EQ(img.BlindGetPixelColor(2, 1, true).rgbReserved, 255);

    CRaster pal(2, 1, 4);
    pal.SetStdPalette();
    pal.SetPixelColor(1, 0, RGBQUAD::FromRgb(250, 5, 5));
    EXPECT_EQ(pal.GetPixelIndex(1, 0), 9);
    EXPECT_EQ(pal.GetPixelPointer(0, 0), nullptr);
}

TEST(RasterPalette, SettersClampToThePalette) {
    CRaster img(1, 1, 4);
    const BYTE red[3] = {1, 2, 3}, green[3] = {4, 5, 6};
    img.SetPaletteRGB(3, red, green); // blue taken from green
    EXPECT_EQ(img.GetPaletteColor(2), RGBQUAD::FromRgb(3, 6, 6));
    img.SetPaletteRGB(2, red);
    EXPECT_EQ(img.GetPaletteColor(1), RGBQUAD::FromRgb(2, 2, 2));
    std::vector<BYTE> triples(3 * 300, 9);
    img.SetPaletteTriples(triples.data(), 300);
    EXPECT_EQ(img.GetPaletteColor(15), RGBQUAD::FromRgb(9, 9, 9));
    img.SetPaletteColor(16, 1, 1, 1); // beyond the palette: ignored
    EXPECT_EQ(img.GetPaletteColor(16), RGBQUAD{});
    BYTE r = 0, g = 0, b = 0;
    EXPECT_TRUE(img.GetPaletteColorRGB(15, r, g, b));
    EXPECT_FALSE(img.GetPaletteColorRGB(16, r, g, b));
    EXPECT_EQ(img.GetPaletteSize(), 64u);

    img.SetGrayPalette();
    EXPECT_EQ(img.GetPaletteColor(1), RGBQUAD::FromRgb(17, 17, 17));
    EXPECT_FALSE(img.IsGrayScale());
    CRaster grey(1, 1, 8);
    grey.SetGrayPalette();
    EXPECT_TRUE(grey.IsGrayScale());

    img.SetClrImportant(40);
    EXPECT_EQ(img.GetClrImportant(), 16u);
    img.SetClrImportant(300);
    EXPECT_EQ(img.GetClrImportant(), 0u);
    CRaster rgb(1, 1, 24);
    rgb.SetClrImportant(5);
    EXPECT_EQ(rgb.GetClrImportant(), 0u);
    EXPECT_EQ(rgb.GetPalette(), nullptr);
}

TEST(RasterPalette, SwapIndexRewritesPixels) {
    CRaster img(3, 1, 4);
    img.SetStdPalette();
    img.SetPixelIndex(0, 0, 1);
    img.SetPixelIndex(1, 0, 2);
    img.SetPixelIndex(2, 0, 3);
    img.SwapIndex(1, 2);
    EXPECT_EQ(img.GetPixelIndex(0, 0), 2);
    EXPECT_EQ(img.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(img.GetPixelIndex(2, 0), 3);
    EXPECT_EQ(img.GetPaletteColor(1), RGBQUAD::FromRgb(0, 128, 0));
    // The pixels still show the same colours.
    EXPECT_EQ(img.GetPixelColor(0, 0), RGBQUAD::FromRgb(128, 0, 0));
}

TEST(RasterPalette, StandardPalettes) {
    const auto p8 = StandardPalette(8);
    ASSERT_EQ(p8.size(), 256u);
    EXPECT_EQ(p8[9], RGBQUAD::FromRgb(166, 202, 240));
    EXPECT_EQ(p8[10], RGBQUAD::FromRgb(255, 240, 212));
    EXPECT_EQ(p8[11], RGBQUAD::FromRgb(255, 227, 177));
    EXPECT_EQ(p8[15], RGBQUAD::FromRgb(255, 170, 37));
    EXPECT_EQ(p8[16], RGBQUAD::FromRgb(255, 170, 0));
    EXPECT_EQ(p8[17], RGBQUAD::FromRgb(220, 146, 0));
    EXPECT_EQ(p8[21], RGBQUAD::FromRgb(80, 50, 0));
    EXPECT_EQ(p8[226], RGBQUAD::FromRgb(242, 242, 242));
    EXPECT_EQ(p8[245], RGBQUAD::FromRgb(14, 14, 14));
    EXPECT_EQ(p8[247], RGBQUAD::FromRgb(160, 160, 164));
    EXPECT_EQ(p8[249], RGBQUAD::FromRgb(255, 0, 0));
    EXPECT_EQ(p8[255], RGBQUAD::FromRgb(255, 255, 255));
    EXPECT_EQ(StandardPalette(4)[7], RGBQUAD::FromRgb(192, 192, 192));
    EXPECT_EQ(StandardPalette(1)[1], RGBQUAD::FromRgb(255, 255, 255));
    EXPECT_TRUE(StandardPalette(24).empty());
}

TEST(NearestColour, TiesGoToTheLowerIndexAndTheCacheFollowsThePalette) {
    CRaster img(1, 1, 8);
    img.SetStdPalette();
    EXPECT_EQ(img.GetNearestIndex(RGBQUAD::FromRgb(255, 0, 0)), 249);
    CRaster grey(1, 1, 8);
    grey.SetGrayPalette();
    EXPECT_EQ(grey.GetNearestIndex(RGBQUAD::FromRgb(1, 1, 1)), 1);

    CRaster tie(1, 1, 4);
    tie.SetPaletteColor(3, 50, 50, 50);
    tie.SetPaletteColor(7, 50, 50, 50);
    for (DWORD i : {0u, 1u, 2u, 4u, 5u, 6u, 8u, 9u, 10u, 11u, 12u, 13u, 14u, 15u})
        tie.SetPaletteColor(i, 255, 255, 255);
    EXPECT_EQ(tie.GetNearestIndex(RGBQUAD::FromRgb(52, 50, 50)), 3);
    // Equidistant entries 0 (10) and 1 (20) from 15: the lower index.
    tie.SetPaletteColor(0, 10, 0, 0);
    tie.SetPaletteColor(1, 20, 0, 0);
    EXPECT_EQ(tie.GetNearestIndex(RGBQUAD::FromRgb(15, 0, 0)), 0);

    // Changing an entry invalidates the remembered answer, through any setter or the raw
    // palette pointer.
    EXPECT_EQ(tie.GetNearestIndex(RGBQUAD::FromRgb(52, 50, 50)), 3);
    tie.SetPaletteColor(5, 52, 50, 50);
    EXPECT_EQ(tie.GetNearestIndex(RGBQUAD::FromRgb(52, 50, 50)), 5);
    BYTE* raw = tie.GetPalette();
    RGBQUAD::FromRgb(52, 50, 50).Store(raw + 4 * 2);
    EXPECT_EQ(tie.GetNearestIndex(RGBQUAD::FromRgb(52, 50, 50)), 2);
    // Only the important colours are searched.
    tie.SetClrImportant(2);
    EXPECT_EQ(tie.GetNearestIndex(RGBQUAD::FromRgb(52, 50, 50)), 1);
    CRaster rgb(1, 1, 24);
    EXPECT_EQ(rgb.GetNearestIndex(RGBQUAD::FromRgb(52, 50, 50)), 0);
}

TEST(NearestColour, CachedSearchAgreesWithTheFullScan) {
    CrtRandom rnd;
    rnd.srand(7);
    for (int round = 0; round < 6; ++round) {
        // Few distinct values make many ties; small counts exercise partial palettes.
        const unsigned count = round == 0 ? 256 : 1 + rnd.rand() % 256;
        const int levels = round % 2 ? 4 : 256;
        std::vector<BYTE> pal(count * 4);
        for (unsigned i = 0; i < count * 4; ++i)
            pal[i] = static_cast<BYTE>((rnd.rand() % levels) * (255 / (levels - 1)));
        CNearestColorCache cache;
        for (int k = 0; k < 20000; ++k) {
            const RGBQUAD c =
                RGBQUAD::FromRgb(BYTE(rnd.rand()), BYTE(rnd.rand()), BYTE(rnd.rand()));
            ASSERT_EQ(cache.Find(pal.data(), count, c),
                      CNearestColorCache::Scan(pal.data(), count, c))
                << "round " << round << " colour " << int(c.rgbRed) << "," << int(c.rgbGreen) << ","
                << int(c.rgbBlue);
        }
    }
}

TEST(Luminance, WeightsGreenMost) {
    EXPECT_EQ(CompareLuminance(RGBQUAD::FromRgb(255, 255, 255), RGBQUAD{}), 255);
    EXPECT_GT(CompareLuminance(RGBQUAD::FromRgb(0, 100, 0), RGBQUAD::FromRgb(100, 0, 0)), 0);
    EXPECT_EQ(CompareLuminance(RGBQUAD::FromRgb(0, 0, 100), RGBQUAD{}), (117 * 100) >> 10);
}

TEST(Luminance, RgbToBgrOnlyWithinTheRow) {
    CRaster img(2, 1, 24);
    BYTE row[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    img.RGBtoBGR(row, 9); // clamped to width x 3 = 6
    const BYTE expected[9] = {3, 2, 1, 6, 5, 4, 7, 8, 9};
    EXPECT_TRUE(std::equal(row, row + 9, expected));
    CRaster pal(2, 1, 8);
    pal.RGBtoBGR(row, 9);
    EXPECT_EQ(row[0], 3);
}
