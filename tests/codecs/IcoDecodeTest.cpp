#include "Bytes.h"
#include "TestPictures.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

namespace {

// One 4-bit icon entry: 16 palette entries, pixels from `index(x, y)`, AND mask from `masked`.
template <class IndexFn, class MaskFn>
Bytes FourBitIcon(DWORD size, IndexFn index, MaskFn masked, BYTE storedSize) {
    Bytes image = BmpInfo(LONG(size), LONG(size * 2), 4);
    for (int i = 0; i < 16; ++i)
        image.raw({unsigned(i * 10), unsigned(i * 5), unsigned(250 - i * 10), 0});
    const DWORD stride = (size * 4 + 31) / 32 * 4;
    for (DWORD y = 0; y < size; ++y) {
        std::vector<BYTE> row(stride, 0);
        for (DWORD x = 0; x < size; ++x)
            row[x / 2] |= BYTE(index(x, y) << ((x & 1) ? 0 : 4));
        image.append(row);
    }
    const DWORD maskStride = (size + 31) / 32 * 4;
    for (DWORD y = 0; y < size; ++y) {
        std::vector<BYTE> row(maskStride, 0);
        for (DWORD x = 0; x < size; ++x)
            if (masked(x, y))
                row[x / 8] |= BYTE(0x80 >> (x & 7));
        image.append(row);
    }
    Bytes file;
    file.u16(0).u16(1).u16(1);
    file.u8(storedSize).u8(storedSize).u8(16).u8(0).u16(1).u16(4).u32(image.size()).u32(22);
    return file.append(image);
}

TEST(IcoDecode, UnusedIndexBecomesTransparent) {
    // Pixels use indices 0..14; the masked ones must end up as index 15.
    const Bytes file = FourBitIcon(
        8, [](DWORD x, DWORD y) { return BYTE((x + y) % 15); },
        [](DWORD x, DWORD) { return x == 0; }, 8);
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(file, CRaster::kTypeIco)) << image.GetLastError();
    EXPECT_EQ(image.GetTransparentIndex(), 15);
    EXPECT_FALSE(image.IsAlphaValid());
    for (LONG y = 0; y < 8; ++y) {
        EXPECT_EQ(image.GetPixelIndex(0, y), 15);
        EXPECT_EQ(image.GetPixelIndex(1, y), BYTE((1 + y) % 15));
    }
}

TEST(IcoDecode, EveryIndexUsedFallsBackToAlpha) {
    // All 16 indices are used and the masked pixels share a colour that also shows unmasked:
    // only an alpha plane can tell them apart.
    const Bytes file = FourBitIcon(
        8, [](DWORD x, DWORD y) { return BYTE((x + 8 * y) % 16); },
        [](DWORD x, DWORD y) { return x == 3 && y == 0; }, 8);
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(file, CRaster::kTypeIco));
    ASSERT_TRUE(image.IsAlphaValid());
    EXPECT_EQ(image.GetAlpha(3, 0), 0);
    EXPECT_EQ(image.GetAlpha(3, 2), 255); // same index, not masked
    EXPECT_FALSE(image.IsTransparent());
}

TEST(IcoDecode, AllSetMaskGivesIndexZeroAndInvertedColours) {
    const Bytes file = FourBitIcon(
        8, [](DWORD, DWORD) { return BYTE(2); }, [](DWORD, DWORD) { return true; }, 8);
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(file, CRaster::kTypeIco));
    EXPECT_EQ(image.GetTransparentIndex(), 0);
    const RGBQUAD c = image.GetPaletteColor(2);
    EXPECT_EQ(c.rgbRed, 255 - 230);
    EXPECT_EQ(c.rgbGreen, 255 - 10);
    EXPECT_EQ(c.rgbBlue, 255 - 20);
}

// A stored size of 0 means 256; a PNG entry is known by its signature, whatever its size
// fields say; pages outside the directory fail and report the page count.
TEST(IcoDecode, DirectoryEntriesAndPages) {
    const Bytes big = FourBitIcon(
        256, [](DWORD x, DWORD) { return BYTE(x % 16); }, [](DWORD, DWORD) { return false; }, 0);
    CRaster image;
    image.SetEscape(-1);
    ASSERT_TRUE(image.DecodeFromMemory(big, CRaster::kTypeIco));
    EXPECT_EQ(image.GetWidth(), 256u);
    CRaster full;
    ASSERT_TRUE(full.DecodeFromMemory(big, CRaster::kTypeIco));
    EXPECT_EQ(full.GetWidth(), 256u);
    EXPECT_EQ(full.GetPixelIndex(17, 3), 1);

    CRaster source = TestPictures::Make(20, 10, 24);
    std::vector<BYTE> png;
    ASSERT_TRUE(source.EncodeToMemory(png, CRaster::kTypePng));
    Bytes file;
    file.u16(0).u16(1).u16(1).u8(20).u8(10).u8(0).u8(0).u16(1).u16(32).u32(png.size()).u32(22);
    file.append(png);
    CRaster fromPng;
    ASSERT_TRUE(fromPng.DecodeFromMemory(file, CRaster::kTypeIco)) << fromPng.GetLastError();
    EXPECT_EQ(fromPng.GetType(), CRaster::kTypeIco);
    EXPECT_TRUE(TestPictures::SameColors(source, fromPng));

    CRaster page;
    page.Info().frame = 1;
    EXPECT_FALSE(page.DecodeFromMemory(file, CRaster::kTypeIco));
    EXPECT_EQ(page.GetNumFrames(), 1);

    for (const Bytes& bad : {Bytes().u16(0).u16(3).u16(1), Bytes().u16(0).u16(1).u16(0),
                             Bytes().u16(0).u16(1).u16(60000).fill(32, 0)}) {
        CRaster image2;
        EXPECT_FALSE(image2.DecodeFromMemory(bad, CRaster::kTypeIco));
    }
    // A bitmap that claims far more rows than the file holds.
    Bytes huge;
    huge.u16(0).u16(1).u16(1).u8(0).u8(0).u8(0).u8(0).u16(1).u16(24).u32(48).u32(22);
    huge.append(BmpInfo(4000, 8000, 24)).fill(8, 0);
    CRaster hugeImage;
    EXPECT_FALSE(hugeImage.DecodeFromMemory(huge, CRaster::kTypeIco));
    EXPECT_STREQ(hugeImage.GetLastError(), "Corrupted icon file");
    // One over the budget is refused by its size, whatever data follows.
    Bytes over;
    over.u16(0).u16(1).u16(1).u8(0).u8(0).u8(0).u8(0).u16(1).u16(24).u32(48).u32(22);
    over.append(BmpInfo(20000, 40000, 24)).fill(8, 0);
    EXPECT_FALSE(hugeImage.DecodeFromMemory(over, CRaster::kTypeIco));
    EXPECT_STREQ(hugeImage.GetLastError(),
                 "Icon picture of 20000 x 20000 pixels needs 1651 MB to read; the limit is 160 MB");

    // An entry pointing past the data.
    std::vector<BYTE> cut = file.data();
    cut[18] = 0xFF;
    cut[19] = 0x7F;
    EXPECT_FALSE(image.DecodeFromMemory(cut, CRaster::kTypeIco));
}

} // namespace
