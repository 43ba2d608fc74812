#include "Bytes.h"
#include "TestPictures.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

Bytes BmpFile(const Bytes& info, const std::vector<BYTE>& rest, DWORD offset) {
    Bytes f;
    f.raw({'B', 'M'}).u32(14 + info.size() + rest.size()).u32(0).u32(offset);
    return f.append(info).append(rest);
}

bool Decode(CRaster& image, const std::vector<BYTE>& bytes) {
    return image.DecodeFromMemory(bytes, CRaster::kTypeBmp);
}

RGBQUAD At(const CRaster& image, LONG x, LONG y) {
    return image.GetPixelColor(x, y, false);
}

// Refused headers fail with a text instead of producing a garbage picture.
TEST(BmpDecode, HostileHeadersAreRefused) {
    const Bytes pixels = Bytes().fill(2048, 0x55);
    struct Case {
        Bytes info;
        const char* text;
    };
    const Case cases[] = {
        {BmpInfo(2, 2, 3), "unsupported BMP bit count"},
        {BmpInfo(2, 2, 0), "unsupported BMP bit count"},
        {BmpInfo(2, 2, 64), "unsupported BMP bit count"},
        {BmpInfo(2, INT_MIN, 8), "Error reading BMP info"},
        {BmpInfo(0, 2, 8), "Error reading BMP info"},
        {BmpInfo(-4, 2, 8), "Error reading BMP info"},
        {BmpInfo(2, 0, 8), "Error reading BMP info"},
        {BmpInfo(2, 2, 8, 0, 0x80000000u), "Error reading BMP info"}, // palette far past the end
        {BmpInfo(2, 2, 8, 0, 0, 20), "Error reading BMP info"},
        {BmpInfo(2, 2, 8, 0, 0, 0x7FFFFFFF), "Error reading BMP info"},
        {BmpInfo(2, 2, 24, 1), "unknown compression"},
        {BmpInfo(2, 2, 4, 1), "compression type not supported"},
        {BmpInfo(2, 2, 8, 7), "compression type not supported"},
        {BmpInfo(2, 2, 32, 4), "unknown compression"},
        {BmpInfo(65536, 65536, 24),
         "BMP picture of 65536 x 65536 pixels needs 17181 MB to read; the limit is 160 MB"},
    };
    for (const Case& c : cases) {
        CRaster image;
        EXPECT_FALSE(Decode(image, BmpFile(c.info, pixels, 0))) << c.text;
        EXPECT_STREQ(image.GetLastError(), c.text);
        EXPECT_FALSE(image.IsValid());
    }
    CRaster image;
    EXPECT_FALSE(Decode(image, Bytes().raw({'B', 'M', 0, 0})));
    EXPECT_STREQ(image.GetLastError(), "Not a BMP");
}

// A colour count above what the depth holds: the first 2^bits entries are used, the rest
// skipped, and the pixels still start in the right place.
TEST(BmpDecode, OversizedPaletteIsReadUpToTheDepth) {
    Bytes rest;
    rest.raw({0, 0, 200, 0, 0, 200, 0, 0}); // entries 0 and 1: red, green
    for (int i = 2; i < 20; ++i)
        rest.raw({9, 9, 9, 0});
    rest.raw({0x40, 0, 0, 0}); // one row: pixel 0 is index 0, pixel 1 index 1
    CRaster image;
    ASSERT_TRUE(Decode(image, BmpFile(BmpInfo(2, 1, 1, 0, 20), rest, 0))) << image.GetLastError();
    EXPECT_EQ(image.GetNumColors(), 2u);
    EXPECT_EQ(At(image, 0, 0).rgbRed, 200);
    EXPECT_EQ(At(image, 1, 0).rgbGreen, 200);
}

// Core, 40, 52, 56, 108 and 124-byte headers, bottom-up and top-down, all give one picture.
TEST(BmpDecode, EveryHeaderFormAndRowOrderGivesTheSamePixels) {
    const CRaster source = TestPictures::Make(5, 3, 24);
    auto rows = [&](bool topDown) {
        Bytes b;
        for (DWORD n = 0; n < 3; ++n) {
            const BYTE* row = source.GetBits(topDown ? 2 - n : n);
            b.append(std::vector<BYTE>(row, row + 16));
        }
        return b;
    };
    for (DWORD size : {12u, 40u, 52u, 56u, 108u, 124u}) {
        for (bool topDown : {false, true}) {
            Bytes info;
            if (size == 12)
                info.u32(12).u16(5).u16(3).u16(1).u16(24);
            else
                info = BmpInfo(5, topDown ? -3 : 3, 24, 0, 0, size).fill(size - 40, 0);
            if (size == 12 && topDown)
                continue; // core headers have no sign
            CRaster image;
            ASSERT_TRUE(Decode(image, BmpFile(info, rows(topDown), 0))) << size;
            EXPECT_TRUE(TestPictures::SameColors(source, image)) << size << " " << topDown;
        }
    }
}

// Bit-field masks place each channel by its own mask; narrow channels widen to full range.
TEST(BmpDecode, BitfieldMasksFollowEachChannel) {
    Bytes info = BmpInfo(2, 1, 16, 3);
    Bytes rest;
    rest.u32(0xF800).u32(0x07E0).u32(0x001F); // 5-6-5 after a 40-byte header
    rest.u16(0xFFFF).u16(0x07E0);
    CRaster image;
    ASSERT_TRUE(Decode(image, BmpFile(info, rest, 0))) << image.GetLastError();
    EXPECT_EQ(At(image, 0, 0).ToColorRef(), RGB(255, 255, 255));
    EXPECT_EQ(At(image, 1, 0).ToColorRef(), RGB(0, 255, 0));

    // Masks inside a 56-byte header, with alpha, in an unusual order.
    Bytes v3 = BmpInfo(1, 1, 32, 3, 0, 56);
    v3.u32(0x000000FF).u32(0x0000FF00).u32(0xFF000000).u32(0x00FF0000);
    CRaster withAlpha;
    ASSERT_TRUE(Decode(withAlpha, BmpFile(v3, Bytes().raw({10, 20, 128, 30}), 0)));
    EXPECT_EQ(At(withAlpha, 0, 0).ToColorRef(), RGB(10, 20, 30));
    ASSERT_TRUE(withAlpha.IsAlphaValid());
    EXPECT_EQ(withAlpha.GetAlpha(0, 0), 128);

    // Plain 32-bit data whose fourth bytes are all 0 has no alpha plane.
    CRaster plain;
    ASSERT_TRUE(
        Decode(plain, BmpFile(BmpInfo(2, 1, 32), Bytes().raw({1, 2, 3, 0, 4, 5, 6, 0}), 0)));
    EXPECT_FALSE(plain.IsAlphaValid());
    EXPECT_EQ(At(plain, 1, 0).ToColorRef(), RGB(6, 5, 4));
}

// Run-length data: deltas and runs past the row or the picture are clamped, never written
// outside; missing end markers keep what was read.
TEST(BmpDecode, RunLengthDataStaysInsideThePicture) {
    Bytes palette;
    for (int i = 0; i < 256; ++i)
        palette.raw({unsigned(i), unsigned(i), unsigned(i), 0});
    Bytes rle;
    rle.raw({3, 7});             // three pixels of 7 on row 0
    rle.raw({0, 2, 250, 0});     // delta far to the right
    rle.raw({5, 9});             // discarded: past the row
    rle.raw({0, 0});             // next row
    rle.raw({0, 3, 1, 2, 3, 0}); // literal of three, padded
    rle.raw({200, 4});           // run longer than the row
    rle.raw({0, 2, 0, 200});     // delta far below the picture
    rle.raw({4, 4});
    CRaster image;
    ASSERT_TRUE(Decode(image, BmpFile(BmpInfo(4, 3, 8, 1, 256), palette.append(rle), 0)))
        << image.GetLastError();
    EXPECT_EQ(image.GetPixelIndex(2, 0), 7);
    EXPECT_EQ(image.GetPixelIndex(3, 0), 0);
    EXPECT_EQ(image.GetPixelIndex(0, 1), 1);
    EXPECT_EQ(image.GetPixelIndex(2, 1), 3);
    EXPECT_EQ(image.GetPixelIndex(3, 1), 4);
    EXPECT_EQ(image.GetPixelIndex(0, 2), 0);

    Bytes pal16;
    for (int i = 0; i < 16; ++i)
        pal16.raw({unsigned(i * 16), 0, 0, 0});
    Bytes rle4;
    rle4.raw({3, 0x12, 0, 3, 0x34, 0x50, 0, 1});
    CRaster four;
    ASSERT_TRUE(Decode(four, BmpFile(BmpInfo(6, 1, 4, 2, 16), pal16.append(rle4), 0)));
    const BYTE expected[] = {1, 2, 1, 3, 4, 5};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(four.GetPixelIndex(x, 0), expected[x]) << x;
}

// Pixel data shorter than the rows need is refused before the picture is made, except for
// the padding of the last row, which some writers leave off.
TEST(BmpDecode, PixelDataShorterThanItsRowsIsRefused) {
    Bytes palette;
    palette.raw({0, 0, 0, 0, 255, 255, 255, 0});
    Bytes rest = palette;
    rest.raw({0xFF, 0, 0, 0}); // only the bottom row is present
    CRaster image;
    EXPECT_FALSE(Decode(image, BmpFile(BmpInfo(8, 4, 1), rest, 14 + 40 + 8)));
    EXPECT_STREQ(image.GetLastError(), "picture larger than its data");
    EXPECT_FALSE(image.IsValid());

    // A header promising 4000 x 4000 true-colour pixels with no pixel data at all.
    CRaster empty;
    EXPECT_FALSE(Decode(empty, BmpFile(BmpInfo(4000, 4000, 24), {}, 54)));
    EXPECT_STREQ(empty.GetLastError(), "picture larger than its data");

    // Every row but the last padded: the last row's 3 bytes suffice, at 24 and 32 bits.
    for (const unsigned bits : {24u, 32u}) {
        const std::size_t pixel = bits / 8, row = (pixel + 3) / 4 * 4;
        Bytes data;
        data.fill(row, 0x40);
        data.fill(pixel, 0x80);
        CRaster cut;
        ASSERT_TRUE(Decode(cut, BmpFile(BmpInfo(1, 2, bits), data, 54))) << bits;
        EXPECT_EQ(cut.GetPixelColor(0, 1, false).rgbRed, 0x80) << bits;
        Bytes shorter = data;
        CRaster refused;
        EXPECT_FALSE(Decode(
            refused,
            BmpFile(BmpInfo(1, 2, bits),
                    std::vector<BYTE>(shorter.data().begin(), shorter.data().end() - 1), 54)))
            << bits;
    }
}

// A run of two bytes covers at most 255 pixels, so a few bytes of run-length data cannot
// stand for a picture of hundreds of megabytes.
TEST(BmpDecode, RunLengthPictureLargerThanItsDataIsRefused) {
    Bytes pal16;
    for (int i = 0; i < 16; ++i)
        pal16.raw({unsigned(i * 16), 0, 0, 0});
    Bytes rle4 = pal16;
    for (int i = 0; i < 2500; ++i)
        rle4.raw({255, 0x12});
    rle4.raw({0, 1});
    CRaster image;
    EXPECT_FALSE(Decode(image, BmpFile(BmpInfo(65584, 2048, 4, 2, 16), rle4, 14 + 40 + 64)));
    EXPECT_STREQ(image.GetLastError(), "picture larger than its data");
    EXPECT_FALSE(image.IsValid());
    // The same data for a picture it can fill decodes.
    CRaster fits;
    ASSERT_TRUE(Decode(fits, BmpFile(BmpInfo(2550, 250, 4, 2, 16), rle4, 14 + 40 + 64)))
        << fits.GetLastError();
    EXPECT_EQ(fits.GetPixelIndex(0, 0), 1);
    EXPECT_EQ(fits.GetPixelIndex(1, 0), 2);
}

TEST(BmpDecode, DataOffsetCountsFromTheStartOfTheFile) {
    CRaster source = TestPictures::Make(3, 2, 8);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypeBmp));
    CRaster image;
    // An offset past the end of the data is refused.
    std::vector<BYTE> bad = bytes;
    bad[10] = 0xFF;
    bad[11] = 0xFF;
    bad[12] = 0x7F;
    EXPECT_FALSE(image.DecodeFromMemory(bad, CRaster::kTypeBmp));
    ASSERT_TRUE(image.DecodeFromMemory(bytes, CRaster::kTypeBmp));
    EXPECT_TRUE(TestPictures::SameColors(source, image));
    EXPECT_EQ(image.GetXDpi(), 96);
}

} // namespace
