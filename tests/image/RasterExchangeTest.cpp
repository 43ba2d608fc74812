#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "tests/support/PackedDib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void ExpectTrueColour(const CRaster& img) {
    ASSERT_EQ(img.GetWidth(), 3u);
    ASSERT_EQ(img.GetHeight(), 2u);
    EXPECT_EQ(img.GetPixelColor(0, 0, false), RGBQUAD::FromRgb(0, 0, 255));
    EXPECT_EQ(img.GetPixelColor(2, 0, false), RGBQUAD::FromRgb(255, 0, 0));
    EXPECT_EQ(img.GetPixelColor(0, 1, false), RGBQUAD::FromRgb(255, 255, 255));
    EXPECT_EQ(img.GetPixelColor(2, 1, false), RGBQUAD::FromRgb(128, 128, 128));
}

} // namespace

TEST(RasterBitmaps, PicturesGoToDeviceBitmapsAndBackUpright) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        CRaster img(5, 3, 24);
        for (LONG y = 0; y < 3; ++y)
            for (LONG x = 0; x < 5; ++x)
                img.SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(60 * x), BYTE(120 * y), 200));
        if (bpp < 24)
            img.DecreaseBpp(bpp, false);
        const auto bitmap = img.MakeDibSection();
        ASSERT_TRUE(bitmap);
        // Row 0 of the bitmap is the picture's top line.
        const auto* top = reinterpret_cast<const std::uint32_t*>(bitmap->Bits());
        EXPECT_EQ(RasterSurface::ToColor(top[4]), img.GetPixelColor(4, 2).ToColorRef());

        CRaster back;
        ASSERT_TRUE(back.CreateFromBitmap(*bitmap));
        EXPECT_EQ(back.GetBpp(), 24);
        EXPECT_EQ(back.GetType(), 0u);
        for (LONG y = 0; y < 3; ++y)
            for (LONG x = 0; x < 5; ++x)
                ASSERT_EQ(back.GetPixelColor(x, y, false), img.GetPixelColor(x, y, false));
    }
    EXPECT_FALSE(CRaster().MakeDibSection());
}

TEST(RasterBitmaps, DrawingOnAContextIsReadBackAndEmptyOrSharedTargetsRefuse) {
    CBitmap bitmap;
    bitmap.CreateBitmap32(4, 3);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 2, 1, RGB(1, 2, 3)); // top-left corner
    CRaster img;
    ASSERT_TRUE(img.CreateFromBitmap(bitmap));
    EXPECT_EQ(img.GetPixelColor(1, 2, false), RGBQUAD::FromRgb(1, 2, 3));
    EXPECT_EQ(img.GetPixelColor(2, 2, false), RGBQUAD::FromRgb(255, 255, 255));

    CBitmap none;
    EXPECT_FALSE(img.CreateFromBitmap(none));
    CRaster view;
    view.ShareFrom(&img);
    EXPECT_FALSE(view.CreateFromBitmap(bitmap));
    EXPECT_FALSE(view.CreateFromGlobalDib(TrueColour(40).Bytes()));
}

TEST(RasterPackedDib, EveryHeaderSizeGivesThePicture) {
    for (DWORD size : {12u, 40u, 52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(size);
        CRaster img;
        ASSERT_TRUE(img.CreateFromGlobalDib(TrueColour(size).Bytes())) << img.GetLastError();
        ExpectTrueColour(img);
        EXPECT_EQ(img.GetType(), 0u);
        if (size > 12) {
            EXPECT_EQ(img.GetYDpi(), 300);
        }
    }
}

TEST(RasterPackedDib, RowOrderPalettesMasksAndRunLengths) {
    PackedDib down = TrueColour(40);
    down.height = -2; // the first row is the top one
    std::swap_ranges(down.rows.begin(), down.rows.begin() + 12, down.rows.begin() + 12);
    CRaster img;
    ASSERT_TRUE(img.CreateFromGlobalDib(down.Bytes()));
    ExpectTrueColour(img);

    // 8 bits, two used colours; a core header takes three-byte entries.
    for (DWORD size : {12u, 40u}) {
        PackedDib pal;
        pal.headerSize = size;
        pal.width = 3;
        pal.height = 1;
        pal.bpp = 8;
        pal.clrUsed = size == 12 ? 0 : 2;
        const DWORD entries = size == 12 ? 256 : 2;
        for (DWORD i = 0; i < entries; ++i) {
            pal.extra.insert(pal.extra.end(), {BYTE(i * 50), BYTE(i * 60), BYTE(i * 70)});
            if (size != 12)
                pal.extra.push_back(0);
        }
        pal.rows = {1, 0, 1, 0};
        ASSERT_TRUE(img.CreateFromGlobalDib(pal.Bytes())) << size;
        EXPECT_EQ(img.GetBpp(), 8);
        EXPECT_EQ(img.GetPixelColor(0, 0, false), RGBQUAD::FromRgb(70, 60, 50));
        EXPECT_EQ(img.GetPixelColor(1, 0, false), RGBQUAD::FromRgb(0, 0, 0));
    }

    // 16 bits without masks are 5-5-5; with masks after a 40-byte header, as given.
    PackedDib sixteen;
    sixteen.width = 2;
    sixteen.height = 1;
    sixteen.bpp = 16;
    sixteen.rows = {0x00, 0x7C, 0x1F, 0x00}; // red, blue
    ASSERT_TRUE(img.CreateFromGlobalDib(sixteen.Bytes()));
    EXPECT_EQ(img.GetPixelColor(0, 0, false), RGBQUAD::FromRgb(255, 0, 0));
    EXPECT_EQ(img.GetPixelColor(1, 0, false), RGBQUAD::FromRgb(0, 0, 255));
    sixteen.compression = 3;
    sixteen.extra = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}; // 5-6-5
    sixteen.rows = {0xE0, 0x07, 0x00, 0xF8};                             // green, red
    ASSERT_TRUE(img.CreateFromGlobalDib(sixteen.Bytes()));
    EXPECT_EQ(img.GetPixelColor(0, 0, false), RGBQUAD::FromRgb(0, 255, 0));
    EXPECT_EQ(img.GetPixelColor(1, 0, false), RGBQUAD::FromRgb(255, 0, 0));

    // 32 bits with the masks inside a version-5 header, alpha included.
    PackedDib v5;
    v5.headerSize = 124;
    v5.width = 1;
    v5.height = 1;
    v5.bpp = 32;
    v5.compression = 3;
    v5.masks[0] = 0x00FF0000;
    v5.masks[1] = 0x0000FF00;
    v5.masks[2] = 0x000000FF;
    v5.masks[3] = 0xFF000000;
    v5.rows = {10, 20, 30, 128};
    ASSERT_TRUE(img.CreateFromGlobalDib(v5.Bytes()));
    EXPECT_EQ(img.GetPixelColor(0, 0), RGBQUAD::FromRgb(30, 20, 10, 128));

    ASSERT_TRUE(img.CreateFromGlobalDib(Rle8().Bytes()));
    EXPECT_EQ(img.GetPixelIndex(3, 0), 2);
    EXPECT_EQ(img.GetPixelIndex(2, 1), 2);
    EXPECT_EQ(img.GetPixelIndex(3, 1), 0);
}

TEST(RasterPackedDib, HostileLengthsFailOrStayInsideTheBytes) {
    CRaster img(2, 2, 24);
    img.SetPixelColor(0, 0, RGBQUAD::FromRgb(9, 9, 9));
    auto refused = [&](const std::vector<BYTE>& bytes) {
        const bool ok = img.CreateFromGlobalDib(bytes);
        // A refusal leaves the picture as it was.
        return !ok && img.GetWidth() == 2 && img.GetPixelColor(0, 0) == RGBQUAD::FromRgb(9, 9, 9);
    };
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused({40, 0, 0}));
    EXPECT_TRUE(refused(TrueColour(44).Bytes())); // no program writes this size
    std::vector<BYTE> cut = TrueColour(124).Bytes();
    cut.resize(100); // the header promises more than there is
    EXPECT_TRUE(refused(cut));
    EXPECT_FALSE(img.CreateFromGlobalDib(std::span<const BYTE>()));

    PackedDib wide = TrueColour(40);
    wide.width = 0x7FFFFFFF; // far more than memory allows
    EXPECT_TRUE(refused(wide.Bytes()));
    PackedDib colours = TrueColour(40);
    colours.bpp = 8;
    colours.clrUsed = 0xFFFFFFFF; // a palette longer than the data
    EXPECT_TRUE(refused(colours.Bytes()));
    PackedDib masks = TrueColour(40);
    masks.bpp = 32;
    masks.compression = 3; // masks announced but missing
    masks.rows.clear();
    EXPECT_TRUE(refused(masks.Bytes()));

    // Rows cut short are refused, like a file whose pixel data is shorter than its rows.
    PackedDib shortRows = TrueColour(40);
    shortRows.rows.resize(14);
    EXPECT_TRUE(refused(shortRows.Bytes()));
    EXPECT_STREQ(img.GetLastError(), "picture larger than its data");
}
