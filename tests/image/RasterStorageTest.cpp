#include "image/core/CRaster.h"
#include "image/core/CRasterRowIterator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CRaster Gradient24(DWORD w, DWORD h) {
    CRaster img(w, h, 24);
    for (LONG y = 0; y < static_cast<LONG>(h); ++y)
        for (LONG x = 0; x < static_cast<LONG>(w); ++x)
            img.SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(x * 10), BYTE(y * 20), BYTE(x + y)));
    return img;
}

} // namespace

TEST(RasterCreate, DepthStrideAndPackedHeader) {
    CRaster img;
    ASSERT_NE(img.Create(1, 1, 2, 4), nullptr);
    EXPECT_EQ(img.GetBpp(), 4);
    EXPECT_EQ(img.GetNumColors(), 16u);
    EXPECT_EQ(img.GetStride(), 4u);
    EXPECT_EQ(img.GetType(), 4u);
    EXPECT_EQ(img.GetDibSize(), 40u + 64u + 4u);
    // The block starts with the header, field for field, little-endian.
    const BITMAPINFOHEADER stored = BITMAPINFOHEADER::Load(img.GetDib());
    EXPECT_EQ(stored, img.GetHeader());
    EXPECT_EQ(stored.biSize, 40u);
    EXPECT_EQ(stored.biSizeImage, 4u);
    EXPECT_EQ(stored.biXPelsPerMeter, 3780);

    for (DWORD bpp : {16u, 32u}) {
        ASSERT_NE(img.Create(3, 2, bpp), nullptr);
        EXPECT_EQ(img.GetBpp(), 24);
        EXPECT_EQ(img.GetNumColors(), 0u);
        EXPECT_EQ(img.GetStride(), 12u);
    }
    ASSERT_NE(img.Create(33, 2, 1), nullptr);
    EXPECT_EQ(img.GetStride(), 8u);
    EXPECT_EQ(img.GetBits(1) - img.GetBits(0), 8);
    EXPECT_EQ(img.GetBits(2), nullptr);
    // New pixels start cleared.
    for (DWORD i = 0; i < img.GetStride() * 2; ++i)
        ASSERT_EQ(img.GetBits()[i], 0);
}

TEST(RasterCreate, RefusesZeroAndOversizeWithTheirTexts) {
    CRaster img(4, 4, 8);
    EXPECT_EQ(img.Create(0, 5, 8), nullptr);
    EXPECT_STREQ(img.GetLastError(),
                 "CRaster::Create : width and height must be greater than zero");
    EXPECT_FALSE(img.IsValid());

    EXPECT_EQ(img.Create(65536, 65536, 24), nullptr);
    EXPECT_STREQ(img.GetLastError(), "CRASTER_MAX_MEMORY exceeded");
    // Products that wrap in 32 bits, or that only row padding makes huge, are caught too.
    EXPECT_EQ(img.Create(0x80000000u, 2, 24), nullptr);
    EXPECT_EQ(img.Create(0xFFFFFFFFu, 0xFFFFFFFFu, 24), nullptr);
    EXPECT_EQ(img.Create(0xFFFFFFFFu, 1, 1), nullptr);
    EXPECT_EQ(img.Create(1, 0x7FFFFFFFu, 1), nullptr);
    EXPECT_STREQ(img.GetLastError(), "CRASTER_MAX_MEMORY exceeded");
    EXPECT_FALSE(img.IsValid());
    // Just below the limit the size checks pass (not allocated here: 1 bit x (2^32 - 32)).
    EXPECT_EQ(img.Create(0xFFFFFFE0u, 1, 1), nullptr);
    EXPECT_STREQ(img.GetLastError(), "CRASTER_MAX_MEMORY exceeded"); // width beyond LONG
}

TEST(RasterCreate, NewPictureForgetsOldPlanesAndImportantColours) {
    CRaster img(4, 4, 8);
    img.SetClrImportant(100);
    ASSERT_TRUE(img.CreateAlpha());
    ASSERT_TRUE(img.CreateSelection());
    ASSERT_NE(img.Create(4, 4, 1), nullptr);
    EXPECT_FALSE(img.IsAlphaValid());
    EXPECT_FALSE(img.IsSelectionValid());
    EXPECT_EQ(img.GetClrImportant(), 0u);
    EXPECT_EQ(img.GetNearestIndex(RGBQUAD::FromRgb(9, 9, 9)), 0);
}

TEST(RasterCopy, CopiesAreDeepAndIndependent) {
    CRaster a = Gradient24(5, 3);
    a.SetXDpi(300);
    a.SetJpegQuality(55.0f);
    ASSERT_TRUE(a.CreateAlpha());
    a.SetAlpha(1, 1, 7);
    ASSERT_TRUE(a.CreateSelection());
    a.SetSelectionByte(2, 2, 1);

    CRaster b(a);
    EXPECT_NE(b.GetDib(), a.GetDib());
    EXPECT_EQ(std::memcmp(a.GetDib(), b.GetDib(), a.GetDibSize()), 0);
    EXPECT_EQ(b.GetXDpi(), 300);
    EXPECT_EQ(b.GetHeader().biXPelsPerMeter, 11811);
    EXPECT_EQ(b.GetJpegQuality(), 55);
    EXPECT_EQ(b.GetAlpha(1, 1), 7);
    EXPECT_TRUE(b.IsInsideSelection(2, 2));
    EXPECT_FALSE(b.IsInsideSelection(0, 0));

    b.SetPixelColor(0, 0, RGBQUAD::FromRgb(1, 2, 3));
    b.SetAlpha(1, 1, 9);
    EXPECT_EQ(a.GetPixelColor(0, 0, false), RGBQUAD::FromRgb(0, 0, 0));
    EXPECT_EQ(a.GetAlpha(1, 1), 7);

    CRaster c(a, false, false, true);
    EXPECT_EQ(c.GetPixelColor(4, 2, false), RGBQUAD{}); // pixels left cleared
    EXPECT_TRUE(c.IsAlphaValid());
    EXPECT_FALSE(c.IsSelectionValid());

    CRaster d(3, 3, 8);
    d = a;
    d = d;
    EXPECT_EQ(d.GetBpp(), 24);
    EXPECT_EQ(d.GetPixelColor(4, 2, false), a.GetPixelColor(4, 2, false));
    CRaster empty;
    d = empty;
    EXPECT_FALSE(d.IsValid());
}

TEST(RasterCopy, CopyOfPaletteImageKeepsPaletteOnlyWhenAskedForNoPixels) {
    CRaster a(4, 2, 8);
    a.SetStdPalette();
    a.SetPixelIndex(3, 1, 200);
    a.SetClrImportant(64);
    CRaster b(a, false, false, false);
    EXPECT_EQ(b.GetPaletteColor(249), RGBQUAD::FromRgb(255, 0, 0));
    EXPECT_EQ(b.GetPixelIndex(3, 1), 0);
    EXPECT_EQ(b.GetClrImportant(), 64u);
}

TEST(RasterSharing, ViewsNeverFreeAndCopiesOfViewsAreDeep) {
    auto source = std::make_unique<CRaster>(Gradient24(4, 4));
    const RGBQUAD corner = source->GetPixelColor(3, 3);
    CRaster view;
    view.ShareFrom(source.get());
    EXPECT_TRUE(view.IsShared());
    EXPECT_EQ(view.GetBits(), source->GetBits());
    EXPECT_FALSE(view.Destroy());
    EXPECT_FALSE(view.DestroyFrames());
    EXPECT_EQ(view.Create(2, 2, 8), nullptr);
    EXPECT_EQ(source->GetPixelColor(3, 3), corner);

    CRaster copy(view);
    EXPECT_FALSE(copy.IsShared());
    EXPECT_NE(copy.GetBits(), source->GetBits());
    CRaster taken;
    EXPECT_TRUE(taken.TakeOver(view));
    EXPECT_NE(taken.GetBits(), source->GetBits());
    EXPECT_EQ(taken.GetPixelColor(3, 3), corner);

    // The view stays readable even when the source goes first.
    source.reset();
    EXPECT_EQ(view.GetPixelColor(3, 3), corner);
}

TEST(RasterTakeOver, MovesEverythingAndEmptiesTheSource) {
    CRaster src = Gradient24(3, 3);
    src.CreateAlpha();
    src.SetLastError("kept");
    src.Info().numFrames = 2;
    src.AddFrame(std::make_unique<CRaster>(2, 2, 8));
    const BYTE* bits = src.GetBits();
    CRaster dst(5, 5, 1);
    dst.AddFrame(std::make_unique<CRaster>(1, 1, 1));
    ASSERT_TRUE(dst.TakeOver(src, true));
    EXPECT_EQ(dst.GetBits(), bits);
    EXPECT_TRUE(dst.IsAlphaValid());
    EXPECT_STREQ(dst.GetLastError(), "kept");
    EXPECT_EQ(dst.GetFrameListSize(), 1u);
    EXPECT_EQ(dst.GetFrame(0)->GetWidth(), 2u);
    EXPECT_FALSE(src.IsValid());
    EXPECT_FALSE(src.IsAlphaValid());
    EXPECT_EQ(src.GetFrameListSize(), 0u);
    EXPECT_EQ(src.GetWidth(), 0u);
    EXPECT_TRUE(src.Destroy());

    CRaster other = Gradient24(2, 2);
    ASSERT_TRUE(dst.TakeOver(other, false));
    EXPECT_EQ(dst.GetFrameListSize(), 1u); // frames stay when not asked to move
}

TEST(RasterInfo, CopyInfoFromOnlyBeforeABlockExists) {
    CRaster caller;
    caller.SetEscape(-1);
    caller.SetCodecOption(2, CRaster::kTypeGif);
    caller.Info().frame = 3;
    CRaster decoder(CRaster::kTypeGif);
    decoder.CopyInfoFrom(caller);
    EXPECT_EQ(decoder.Info().escape, -1);
    EXPECT_EQ(decoder.Info().frame, 3);
    EXPECT_EQ(decoder.GetCodecOption(CRaster::kTypeGif), 2u);
    CRaster full(2, 2, 8);
    full.CopyInfoFrom(caller);
    EXPECT_EQ(full.Info().frame, 0);
}

TEST(RasterInfo, AccessorsClampAsTheStoredFieldsDid) {
    CRaster img(2, 2, 8, CRaster::kTypePng);
    img.SetXDpi(0);
    EXPECT_EQ(img.GetXDpi(), 96);
    EXPECT_EQ(img.GetHeader().biXPelsPerMeter, 3780);
    img.SetYDpi(300);
    EXPECT_EQ(img.GetHeader().biYPelsPerMeter, 11811);
    EXPECT_EQ(BITMAPINFOHEADER::Load(img.GetDib()).biYPelsPerMeter, 11811);
    img.SetXDpi(0x7FFFFFFF);
    EXPECT_EQ(img.GetHeader().biXPelsPerMeter, 0x7FFFFFFF);

    EXPECT_FALSE(img.SetType(16));
    EXPECT_EQ(img.GetType(), 0u);
    EXPECT_TRUE(img.SetType(15));
    EXPECT_EQ(CRaster::GetTypeIndex(16), 0u);
    EXPECT_EQ(CRaster::GetTypeIndex(9), 9u);

    img.SetCodecOption(7); // own type (15)
    EXPECT_EQ(img.GetCodecOption(), 7u);
    EXPECT_EQ(img.GetCodecOption(15), 7u);
    EXPECT_EQ(img.GetCodecOption(99), 7u);

    img.SetJpegQuality(-3.0f);
    EXPECT_EQ(img.GetJpegQuality(), 0);
    img.SetJpegQuality(74.6f);
    EXPECT_EQ(img.GetJpegQuality(), 75);

    img.SetTransparentIndex(300);
    EXPECT_EQ(img.GetTransparentIndex(), 0);
    img.SetTransparentIndex(-1);
    EXPECT_FALSE(img.IsTransparent());
    img.SetTransparentColor(RGBQUAD::FromRgb(1, 2, 3, 99));
    EXPECT_EQ(img.GetTransparentColor().rgbReserved, 0);

    img.SetLastError(std::string(400, 'x').c_str());
    EXPECT_EQ(std::string(img.GetLastError()).size(), 255u);
}

TEST(RasterClear, FillsPixelsButNotThePalette) {
    CRaster one(9, 2, 1);
    one.SetStdPalette();
    one.Clear(1);
    EXPECT_EQ(one.GetBits()[0], 0xFF);
    EXPECT_EQ(one.GetPixelIndex(8, 1), 1);
    EXPECT_EQ(one.GetPaletteColor(0), RGBQUAD::FromRgb(0, 0, 0));
    CRaster four(3, 1, 4);
    four.Clear(0x13);
    EXPECT_EQ(four.GetBits()[0], 0x33);
    CRaster none;
    none.Clear(5); // no block: nothing happens
}

TEST(RasterBitfields, SixteenAndThirtyTwoBitRowsBecomeBgr) {
    CRaster img(3, 2, 24);
    // 5-6-5, width 3: source stride is 8 bytes. Pixel (0,0) white, (1,0) pure red,
    // (2,1) pure green; bytes little-endian.
    BYTE rows16[16] = {};
    rows16[0] = 0xFF, rows16[1] = 0xFF;
    rows16[2] = 0x00, rows16[3] = 0xF8;
    rows16[8 + 4] = 0xE0, rows16[8 + 5] = 0x07;
    ASSERT_TRUE(img.ConvertBitfields(rows16, sizeof rows16, 0xF800, 0x07E0, 0x001F, 16));
    EXPECT_EQ(img.GetPixelColor(0, 0, false), RGBQUAD::FromRgb(0xF8, 0xFC, 0xF8));
    EXPECT_EQ(img.GetPixelColor(1, 0, false), RGBQUAD::FromRgb(0xF8, 0, 0));
    EXPECT_EQ(img.GetPixelColor(2, 1, false), RGBQUAD::FromRgb(0, 0xFC, 0));
    // A short source is refused instead of read past its end.
    EXPECT_FALSE(img.ConvertBitfields(rows16, 15, 0xF800, 0x07E0, 0x001F, 16));

    BYTE rows32[24] = {};
    const BYTE px[4] = {0x11, 0x22, 0x33, 0x44}; // red mask 0x00FF0000 -> byte 2
    std::memcpy(rows32 + 12 + 4, px, 4);
    ASSERT_TRUE(
        img.ConvertBitfields(rows32, sizeof rows32, 0x00FF0000, 0x0000FF00, 0x000000FF, 32));
    EXPECT_EQ(img.GetPixelColor(1, 1, false), RGBQUAD::FromRgb(0x33, 0x22, 0x11));
    EXPECT_FALSE(img.ConvertBitfields(rows32, sizeof rows32, 1, 2, 3, 24));
}

TEST(RasterRowIterator, StaysOnExistingRows) {
    CRaster img(2, 3, 8);
    CRasterRowIterator it(&img);
    EXPECT_EQ(it.GetRow(), img.GetBits(0));
    EXPECT_EQ(it.SetRow(2), img.GetBits(2));
    EXPECT_EQ(it.SetRow(3), img.GetBits(2)); // past the last row: stays
    EXPECT_EQ(it.SetRow(-1), img.GetBits(2));
    EXPECT_EQ(it.GetRowNumber(), 2);
    CRasterRowIterator none(nullptr);
    EXPECT_EQ(none.SetRow(0), nullptr);
}
