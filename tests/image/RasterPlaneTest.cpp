#include "image/core/CRaster.h"

#include <gtest/gtest.h>

TEST(AlphaPlane, CreateKeepsBytesAndCopyNeedsTheSameSize) {
    CRaster img(3, 2, 24);
    EXPECT_EQ(img.GetAlpha(0, 0), 0); // no plane
    EXPECT_EQ(img.GetAlphaPointer(0, 0), nullptr);
    ASSERT_TRUE(img.CreateAlpha());
    EXPECT_EQ(img.GetAlpha(2, 1), 255);
    img.SetAlpha(2, 1, 4);
    img.SetAlpha(3, 1, 4); // outside: ignored
    ASSERT_TRUE(img.CreateAlpha());
    EXPECT_EQ(img.GetAlpha(2, 1), 4);
    EXPECT_EQ(*img.GetAlphaPointer(2, 1), 4);
    EXPECT_EQ(img.GetAlpha(3, 1), 0);

    CRaster other(2, 3, 24);
    EXPECT_FALSE(other.CopyAlpha(img));
    EXPECT_FALSE(other.IsAlphaValid());
    CRaster same(3, 2, 8);
    img.SetAlphaMax(100);
    ASSERT_TRUE(same.CopyAlpha(img));
    EXPECT_EQ(same.GetAlpha(2, 1), 4);
    EXPECT_EQ(same.GetAlphaMax(), 100);

    img.InvertAlpha();
    EXPECT_EQ(img.GetAlpha(2, 1), 251);
    EXPECT_EQ(img.GetAlpha(0, 0), 0);
    img.SetAlphaLevel(9);
    EXPECT_EQ(img.BlindGetAlpha(2, 1), 9);
    img.DeleteAlpha();
    EXPECT_FALSE(img.IsAlphaValid());
    CRaster empty;
    EXPECT_FALSE(empty.CreateAlpha());
}

TEST(AlphaPlane, FlipAndMirrorMoveTheBytes) {
    CRaster img(3, 2, 24);
    EXPECT_FALSE(img.FlipAlpha());
    EXPECT_FALSE(img.MirrorAlpha());
    img.CreateAlpha();
    img.SetAlpha(0, 0, 1);
    ASSERT_TRUE(img.FlipAlpha());
    EXPECT_EQ(img.GetAlpha(0, 1), 1);
    EXPECT_EQ(img.GetAlpha(0, 0), 255);
    ASSERT_TRUE(img.MirrorAlpha());
    EXPECT_EQ(img.GetAlpha(2, 1), 1);
    EXPECT_EQ(img.GetAlpha(0, 1), 255);
}

TEST(AlphaPlane, FromGreyPicturesOfAnyPaletteDepth) {
    CRaster target(5, 2, 24);
    CRaster grey4(5, 2, 4);
    for (DWORD i = 0; i < 16; ++i)
        grey4.SetPaletteColor(i, BYTE(i), BYTE(i), BYTE(i));
    grey4.SetPixelIndex(4, 1, 15);
    ASSERT_TRUE(target.SetAlphaFromImage(grey4));
    EXPECT_EQ(target.GetAlpha(4, 1), 15);
    EXPECT_EQ(target.GetAlpha(3, 1), 0);

    CRaster grey8(5, 2, 8);
    for (DWORD i = 0; i < 256; ++i)
        grey8.SetPaletteColor(i, BYTE(i), BYTE(i), BYTE(i));
    grey8.SetPixelIndex(0, 0, 200);
    ASSERT_TRUE(target.SetAlphaFromImage(grey8));
    EXPECT_EQ(target.GetAlpha(0, 0), 200);

    CRaster colour(5, 2, 8);
    colour.SetStdPalette();
    EXPECT_FALSE(target.SetAlphaFromImage(colour));
    CRaster small(4, 2, 8);
    small.SetGrayPalette();
    EXPECT_FALSE(target.SetAlphaFromImage(small));
}

TEST(AlphaPlane, PaletteAlphaIsAnyNonzeroFourthByte) {
    CRaster img(1, 1, 4);
    EXPECT_FALSE(img.HasPaletteAlpha());
    img.SetPaletteColor(15, 0, 0, 0, 1);
    EXPECT_TRUE(img.HasPaletteAlpha());
    img.EnablePaletteAlpha(true);
    EXPECT_TRUE(img.Info().paletteAlpha);
}

TEST(SelectionPlane, EmptyBoxGrowsAndFollowsFlipAndMirror) {
    CRaster img(6, 4, 8);
    EXPECT_TRUE(img.IsInsideSelection(3, 3)); // no plane: everything selected
    EXPECT_FALSE(img.FlipSelection());
    ASSERT_TRUE(img.CreateSelection());
    const RECT empty = {6, 0, 0, 4};
    const RECT& box = img.Info().selectionBox;
    EXPECT_EQ(box.left, empty.left);
    EXPECT_EQ(box.bottom, empty.bottom);
    EXPECT_EQ(box.right, 0);
    EXPECT_EQ(box.top, 0);
    for (LONG y = 0; y < 4; ++y)
        for (LONG x = 0; x < 6; ++x)
            ASSERT_FALSE(img.IsInsideSelection(x, y));

    img.SetSelectionByte(1, 0, 1);
    img.SetSelectionByte(2, 1, 5);
    img.SetSelectionByte(9, 9, 1); // outside: ignored
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 3);
    EXPECT_EQ(box.bottom, 0);
    EXPECT_EQ(box.top, 2);
    EXPECT_EQ(img.BlindGetSelectionByte(2, 1), 5);

    ASSERT_TRUE(img.FlipSelection());
    EXPECT_EQ(box.bottom, 2);
    EXPECT_EQ(box.top, 4);
    EXPECT_TRUE(img.IsInsideSelection(1, 3));
    ASSERT_TRUE(img.FlipSelection());
    EXPECT_EQ(box.bottom, 0);
    EXPECT_EQ(box.top, 2);
    ASSERT_TRUE(img.MirrorSelection());
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.right, 5);
    EXPECT_TRUE(img.IsInsideSelection(4, 0));

    CRaster copy(6, 4, 24);
    ASSERT_TRUE(copy.CopySelection(img));
    EXPECT_TRUE(copy.IsInsideSelection(4, 0));
    EXPECT_EQ(copy.Info().selectionBox.left, 3);
    CRaster wrong(5, 4, 24);
    EXPECT_FALSE(wrong.CopySelection(img));

    // A fresh selection replaces the old one and starts empty again.
    ASSERT_TRUE(img.CreateSelection());
    EXPECT_FALSE(img.IsInsideSelection(4, 0));
    EXPECT_EQ(box.right, 0);
    img.DeleteSelection();
    EXPECT_TRUE(img.IsInsideSelection(4, 0));
}
