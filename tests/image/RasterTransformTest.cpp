#include "image/core/CRaster.h"

#include <gtest/gtest.h>

namespace {

// A picture whose every pixel is told apart by its position: palette pictures hold
// (x + 3y) modulo their colour count, 24-bit ones encode x and y in blue and green.
CRaster Numbered(DWORD width, DWORD height, DWORD bpp) {
    CRaster img(width, height, bpp);
    if (bpp <= 8) {
        img.SetStdPalette();
        const DWORD colours = img.GetNumColors();
        for (LONG y = 0; y < LONG(height); ++y)
            for (LONG x = 0; x < LONG(width); ++x)
                img.SetPixelIndex(x, y, BYTE((x + 3 * y) % colours));
    } else {
        for (LONG y = 0; y < LONG(height); ++y)
            for (LONG x = 0; x < LONG(width); ++x)
                img.SetPixelColor(x, y, RGBQUAD::FromRgb(7, BYTE(y), BYTE(x)));
    }
    return img;
}

// Colour and alpha of every pixel alike.
bool SamePixels(const CRaster& a, const CRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp())
        return false;
    for (LONG y = 0; y < LONG(a.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(a.GetWidth()); ++x)
            if (a.GetPixelColor(x, y) != b.GetPixelColor(x, y) ||
                a.GetAlpha(x, y) != b.GetAlpha(x, y))
                return false;
    return true;
}

void AddPlanes(CRaster& img) {
    img.CreateAlpha();
    img.CreateSelection();
    for (LONG y = 0; y < LONG(img.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(img.GetWidth()); ++x)
            img.SetAlpha(x, y, BYTE(x * 7 + y));
    img.SetSelectionByte(1, 0, 1);
    img.SetSelectionByte(2, 1, 1);
}

} // namespace

TEST(RasterCrop, CutsTopDownRectanglesAtEveryDepth) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        const CRaster source = Numbered(13, 7, bpp);
        CRaster whole;
        ASSERT_TRUE(CRaster(source).Crop(0, 0, 13, 7, &whole));
        EXPECT_TRUE(SamePixels(whole, source));

        // Columns 3..10, picture rows 1..4 from the top: storage rows 2..5.
        CRaster part(source);
        ASSERT_TRUE(part.Crop(3, 1, 11, 5));
        ASSERT_EQ(part.GetWidth(), 8u);
        ASSERT_EQ(part.GetHeight(), 4u);
        for (LONG y = 0; y < 4; ++y)
            for (LONG x = 0; x < 8; ++x)
                ASSERT_EQ(part.GetPixelColor(x, y), source.GetPixelColor(x + 3, y + 2));

        CRaster swapped(source);
        ASSERT_TRUE(swapped.Crop(11, 5, 3, 1));
        EXPECT_TRUE(SamePixels(swapped, part));
    }
}

TEST(RasterCrop, RefusesEmptyAreasAndCarriesPaletteOptionsAndAlpha) {
    CRaster img = Numbered(6, 4, 8);
    EXPECT_FALSE(img.Crop(2, 0, 2, 4));
    EXPECT_FALSE(img.Crop(0, 3, 6, 3));
    EXPECT_FALSE(img.Crop(-5, 0, -1, 4)); // clamped to an empty width
    EXPECT_EQ(img.GetWidth(), 6u);

    img.SetTransparentIndex(5);
    img.SetXDpi(300);
    img.CreateAlpha();
    img.SetAlpha(4, 0, 17);
    img.SetAlphaMax(90);
    CRaster out;
    ASSERT_TRUE(img.CropRect(RECT{4, 2, 100, 100}, &out));
    EXPECT_EQ(img.GetWidth(), 6u); // the source stays
    EXPECT_EQ(out.GetWidth(), 2u);
    EXPECT_EQ(out.GetHeight(), 2u);
    EXPECT_EQ(out.GetTransparentIndex(), 5);
    EXPECT_EQ(out.GetPaletteColor(200), img.GetPaletteColor(200));
    EXPECT_EQ(out.GetXDpi(), 300);
    EXPECT_EQ(out.GetAlpha(0, 0), 17);
    EXPECT_EQ(out.GetAlphaMax(), 90);

    CRaster empty;
    EXPECT_FALSE(empty.Crop(0, 0, 1, 1));
}

TEST(RasterFlipMirror, TwiceIsTheIdentityAndSubBytePixelsKeepTheirOrder) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        CRaster img = Numbered(11, 5, bpp);
        AddPlanes(img);
        const CRaster start(img);
        ASSERT_TRUE(img.Flip());
        EXPECT_EQ(img.GetPixelColor(2, 4), start.GetPixelColor(2, 0));
        EXPECT_EQ(img.GetAlpha(3, 0), start.GetAlpha(3, 4));
        ASSERT_TRUE(img.Flip());
        EXPECT_TRUE(SamePixels(img, start));

        ASSERT_TRUE(img.Mirror());
        for (LONG x = 0; x < 11; ++x)
            ASSERT_EQ(img.GetPixelColor(x, 1), start.GetPixelColor(10 - x, 1));
        EXPECT_EQ(img.GetAlpha(0, 2), start.GetAlpha(10, 2));
        EXPECT_EQ(img.BlindGetSelectionByte(9, 0), 1);
        ASSERT_TRUE(img.Mirror());
        EXPECT_TRUE(SamePixels(img, start));
        EXPECT_EQ(img.BlindGetSelectionByte(1, 0), 1);
    }
}

TEST(RasterFlipMirror, FlagsLeaveThePlanesWhenCleared) {
    CRaster img = Numbered(3, 2, 24);
    AddPlanes(img);
    const RECT box = img.Info().selectionBox;
    ASSERT_TRUE(img.Flip(false, false));
    EXPECT_EQ(img.GetAlpha(2, 1), 15);
    EXPECT_EQ(img.BlindGetSelectionByte(2, 1), 1);
    ASSERT_TRUE(img.Mirror(true, false));
    EXPECT_EQ(img.GetAlpha(2, 1), 15);
    EXPECT_EQ(img.BlindGetSelectionByte(0, 1), 1);
    EXPECT_EQ(img.Info().selectionBox.left, 3 - box.right);
}

TEST(RasterRotate, QuarterTurnsMapPixelsPlanesAndTheSelectionBox) {
    // 3 x 2, storage rows: bottom row a b c, top row d e f.
    CRaster img = Numbered(3, 2, 24);
    AddPlanes(img);
    img.SetXDpi(300);
    CRaster turned;
    ASSERT_TRUE(img.RotateLeft(&turned));
    ASSERT_EQ(turned.GetWidth(), 2u);
    ASSERT_EQ(turned.GetHeight(), 3u);
    for (LONG y = 0; y < 3; ++y)
        for (LONG x = 0; x < 2; ++x) {
            EXPECT_EQ(turned.GetPixelColor(x, y), img.GetPixelColor(y, 1 - x));
            EXPECT_EQ(turned.GetAlpha(x, y), img.GetAlpha(y, 1 - x));
        }
    EXPECT_EQ(turned.GetYDpi(), 300);
    const RECT& old = img.Info().selectionBox; // x 1..3, rows 0..2
    const RECT& box = turned.Info().selectionBox;
    EXPECT_EQ(box.left, 2 - old.top);
    EXPECT_EQ(box.right, 2 - old.bottom);
    EXPECT_EQ(box.bottom, old.left);
    EXPECT_EQ(box.top, old.right);
    EXPECT_EQ(turned.BlindGetSelectionByte(1, 1), 1); // old (1, 0)

    ASSERT_TRUE(img.RotateRight(&turned));
    for (LONG y = 0; y < 3; ++y)
        for (LONG x = 0; x < 2; ++x)
            EXPECT_EQ(turned.GetPixelColor(x, y), img.GetPixelColor(2 - y, x));
}

TEST(RasterRotate, LeftThenRightRestoresEveryDepthAcrossTiles) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        CRaster img = Numbered(67, 9, bpp); // wider than one tile, odd in both sides
        AddPlanes(img);
        const CRaster start(img);
        ASSERT_TRUE(img.RotateLeft());
        ASSERT_TRUE(img.RotateRight());
        EXPECT_TRUE(SamePixels(img, start));
        EXPECT_EQ(img.Info().selectionBox.left, start.Info().selectionBox.left);
        EXPECT_EQ(img.Info().selectionBox.top, start.Info().selectionBox.top);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(img.RotateRight());
        EXPECT_TRUE(SamePixels(img, start));
        EXPECT_EQ(img.BlindGetSelectionByte(2, 1), 1);
    }
}

TEST(RasterInvert, TrueColourSelectionGreyRampsAndPalettes) {
    CRaster rgb = Numbered(4, 2, 24);
    rgb.SetTransparentColor(RGBQUAD::FromRgb(255, 0, 10));
    CRaster all(rgb);
    ASSERT_TRUE(all.InvertColors());
    EXPECT_EQ(all.GetPixelColor(3, 1), RGBQUAD::FromRgb(255 - 7, 254, 252));
    EXPECT_EQ(all.GetTransparentColor(), RGBQUAD::FromRgb(0, 255, 245));

    rgb.CreateSelection();
    rgb.SetSelectionByte(2, 0, 1);
    ASSERT_TRUE(rgb.InvertColors());
    EXPECT_EQ(rgb.GetPixelColor(2, 0), RGBQUAD::FromRgb(248, 255, 253));
    EXPECT_EQ(rgb.GetPixelColor(1, 0), RGBQUAD::FromRgb(7, 0, 1));

    CRaster grey(3, 1, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(0, 0, 10);
    ASSERT_TRUE(grey.InvertColors());
    EXPECT_EQ(grey.GetPixelIndex(0, 0), 245);
    EXPECT_TRUE(grey.IsGrayScale());

    CRaster pal = Numbered(3, 1, 4);
    const RGBQUAD before = pal.GetPixelColor(1, 0);
    ASSERT_TRUE(pal.InvertColors());
    EXPECT_EQ(pal.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(pal.GetPixelColor(1, 0),
              RGBQUAD::FromRgb(255 - before.rgbRed, 255 - before.rgbGreen, 255 - before.rgbBlue));
}
