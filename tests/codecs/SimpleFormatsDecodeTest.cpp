#include "Bytes.h"
#include "TestPictures.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Bytes TgaHead(unsigned type, unsigned width, unsigned height, unsigned bits,
              unsigned descriptor = 0, unsigned mapType = 0, unsigned mapLength = 0,
              unsigned mapBits = 0) {
    Bytes b;
    b.u8(0).u8(mapType).u8(type).u16(0).u16(mapLength).u8(mapBits);
    b.u16(0).u16(0).u16(width).u16(height).u8(bits).u8(descriptor);
    return b;
}

Bytes PcxHead(unsigned bits, unsigned planes, unsigned width, unsigned height,
              unsigned bytesPerLine) {
    Bytes b;
    b.u8(10).u8(5).u8(1).u8(bits).u16(0).u16(0).u16(width - 1).u16(height - 1);
    b.u16(72).u16(72).fill(48, 0).u8(0).u8(planes).u16(bytesPerLine).u16(1).fill(58, 0);
    return b;
}

TEST(WbmpDecode, HeadersAreChecked) {
    struct Case {
        Bytes bytes;
        const char* text;
    };
    const Case cases[] = {
        {Bytes().raw({0, 0}), "Not a WBMP"},
        {Bytes().raw({1, 0, 8, 1, 0}), "Unsupported WBMP type"},
        {Bytes().raw({0, 0, 0, 1, 0}), "Corrupted WBMP"},
        {Bytes().raw({0, 0, 0x81, 0x81, 0x81, 0x81, 0x81, 0x01, 1, 0}), "Not a WBMP"},
        {Bytes().raw({0, 0, 16, 2, 0xFF}), "Corrupted WBMP"}, // rows cut short
        {Bytes().raw({0, 0x80, 8, 1, 0}), "Corrupted WBMP"},
    };
    for (const Case& c : cases) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(c.bytes, CRaster::kTypeWbmp)) << c.text;
        EXPECT_STREQ(image.GetLastError(), c.text);
    }
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(
        Bytes().raw({0,    0,    0x81, 0x00, 1,    0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA,
                     0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}),
        CRaster::kTypeWbmp));
    EXPECT_EQ(image.GetWidth(), 128u);
    EXPECT_EQ(image.GetPixelColor(0, 0, false).rgbRed, 255);
    EXPECT_EQ(image.GetPixelColor(1, 0, false).rgbRed, 0);
}

TEST(PcxDecode, HeadersAreChecked) {
    struct Case {
        Bytes bytes;
        const char* text;
    };
    Bytes inverted = PcxHead(8, 1, 4, 4, 4);
    inverted.data();
    std::vector<BYTE> inv = inverted.data();
    inv[8] = 0; // xMax below xMin
    inv[4] = 5;
    const Case cases[] = {
        {Bytes().fill(100, 10), "Can't read PCX image"},
        {Bytes().u8(11).fill(127, 1), "Error: Not a PCX file"},
        {PcxHead(8, 5, 4, 4, 4).fill(10, 0), "Can't handle image with more than 4 planes"},
        {PcxHead(8, 1, 9, 4, 8).fill(10, 0), "bad PCX header"}, // short bytes per line
        {PcxHead(3, 1, 4, 4, 4).fill(10, 0), "bad PCX header"},
        {PcxHead(4, 2, 4, 4, 4).fill(10, 0), "bad PCX header"},
        {PcxHead(8, 1, 4, 2, 4).raw({0xC5, 1, 0xC1}), "corrupted PCX"},
        {PcxHead(8, 1, 4, 1, 4).raw({0xFF, 1, 1, 1}), "repeat count spans end of image"},
        {PcxHead(8, 1, 2, 1, 2).raw({1, 2, 0, 0}), "bad color map signature"},
    };
    for (const Case& c : cases) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(c.bytes, CRaster::kTypePcx)) << c.text;
        EXPECT_STREQ(image.GetLastError(), c.text);
    }
    CRaster image;
    EXPECT_FALSE(image.DecodeFromMemory(inv, CRaster::kTypePcx));
}

// Two planes of one bit combine into indices 0..3 of a 4-bit picture; a run may go on from
// one line into the next.
TEST(PcxDecode, PlanesCombineAndRunsCrossLines) {
    Bytes file = PcxHead(1, 2, 8, 2, 2);
    std::vector<BYTE> raw = file.data();
    for (int i = 0; i < 12; ++i)
        raw[16 + i] = BYTE(i * 20);
    Bytes data;
    // Line 1: plane 0 = 0xF0 0x00, plane 1 = 0xCC 0x00; line 2: all 0xAA from one run.
    data.raw({0xC1, 0xF0, 0x00, 0xC1, 0xCC, 0x00, 0xC4, 0xAA});
    raw.insert(raw.end(), data.data().begin(), data.data().end());
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(raw, CRaster::kTypePcx)) << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), 4);
    const BYTE top[] = {3, 3, 1, 1, 2, 2, 0, 0};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(image.GetPixelIndex(x, 1), top[x]) << x;
    EXPECT_EQ(image.GetPixelIndex(0, 0), 3);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 0);
    EXPECT_EQ(image.GetPaletteColor(3).rgbRed, 180);
}

TEST(TgaDecode, HeadersAreChecked) {
    struct Case {
        Bytes bytes;
        const char* text;
    };
    const Case cases[] = {
        {Bytes().fill(10, 0), "Not a TGA"},
        {TgaHead(4, 2, 2, 24), "Unknown TGA image type"},
        {TgaHead(2, 0, 2, 24), "bad TGA header"},
        {TgaHead(2, 2, 2, 12), "bad TGA header"},
        {TgaHead(1, 2, 2, 8, 0, 1, 300, 24).fill(1000, 0), "bad TGA header"},
        {TgaHead(1, 2, 2, 16, 0, 1, 2, 24).fill(100, 0), "bad TGA header"},
        {TgaHead(2, 2, 2, 24).fill(11, 0), "picture larger than its data"},
        {TgaHead(3, 2, 2, 15), "bad TGA header"},
        {TgaHead(10, 4, 4, 24).raw({0x83, 1, 2, 3}), "corrupted TGA"},
    };
    for (const Case& c : cases) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(c.bytes, CRaster::kTypeTga)) << c.text;
        EXPECT_STREQ(image.GetLastError(), c.text);
    }
}

// A colour map on a true-colour file is skipped; 16-bit map entries are honoured.
TEST(TgaDecode, ColourMapsFollowTheirEntrySize) {
    Bytes trueColour = TgaHead(2, 1, 1, 24, 0, 1, 3, 24);
    trueColour.fill(9, 0x77).raw({10, 20, 30});
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(trueColour, CRaster::kTypeTga));
    EXPECT_EQ(image.GetPixelColor(0, 0, false).ToColorRef(), RGB(30, 20, 10));

    Bytes mapped = TgaHead(1, 2, 1, 8, 0, 1, 2, 16);
    mapped.u16(0x7C00).u16(0x001F).raw({1, 0});
    ASSERT_TRUE(image.DecodeFromMemory(mapped, CRaster::kTypeTga)) << image.GetLastError();
    EXPECT_EQ(image.GetPixelColor(0, 0, false).ToColorRef(), RGB(0, 0, 255));
    EXPECT_EQ(image.GetPixelColor(1, 0, false).ToColorRef(), RGB(255, 0, 0));
}

// Packets go on across rows; packets past the last pixel are dropped; orientation bits are
// honoured.
TEST(TgaDecode, RunLengthPacketsAndOrientation) {
    Bytes file = TgaHead(11, 3, 2, 8, 0x20 | 0x10); // grey, top row first, right to left
    file.raw({0x83, 9});                            // four pixels of 9: a whole row and one more
    file.raw({0x01, 5, 6});                         // two literal pixels
    file.raw({0xFF, 1, 0x7F, 2});                   // past the end: dropped
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(file, CRaster::kTypeTga)) << image.GetLastError();
    // File row 0 is the top (storage row 1), read right to left.
    EXPECT_EQ(image.GetPixelIndex(0, 1), 9);
    EXPECT_EQ(image.GetPixelIndex(2, 0), 9);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 5);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 6);
    EXPECT_TRUE(image.IsGrayScale());

    Bytes alpha = TgaHead(2, 2, 1, 32, 8);
    alpha.raw({1, 2, 3, 0, 4, 5, 6, 200});
    ASSERT_TRUE(image.DecodeFromMemory(alpha, CRaster::kTypeTga));
    ASSERT_TRUE(image.IsAlphaValid());
    EXPECT_EQ(image.GetAlpha(0, 0), 0);
    EXPECT_EQ(image.GetAlpha(1, 0), 200);
    Bytes noAlpha = TgaHead(2, 1, 1, 32, 0);
    noAlpha.raw({1, 2, 3, 0});
    ASSERT_TRUE(image.DecodeFromMemory(noAlpha, CRaster::kTypeTga));
    EXPECT_FALSE(image.IsAlphaValid());
}

// Grey pixels with an alpha byte, plain and run-length, read as 8-bit grey with alpha.
TEST(TgaDecode, SixteenBitGreyCarriesAlpha) {
    Bytes plain = TgaHead(3, 3, 1, 16, 8);
    plain.raw({10, 255, 20, 0, 30, 128});
    Bytes packed = TgaHead(11, 3, 1, 16, 8);
    packed.raw({0x00, 10, 255, 0x81, 20, 0}); // one literal pixel, then two alike
    for (const Bytes* file : {&plain, &packed}) {
        CRaster image;
        ASSERT_TRUE(image.DecodeFromMemory(*file, CRaster::kTypeTga)) << image.GetLastError();
        EXPECT_EQ(image.GetBpp(), 8);
        EXPECT_TRUE(image.IsGrayScale());
        ASSERT_TRUE(image.IsAlphaValid());
        EXPECT_EQ(image.GetPixelIndex(0, 0), 10);
        EXPECT_EQ(image.GetPixelIndex(1, 0), 20);
        EXPECT_EQ(image.GetAlpha(0, 0), 255);
        EXPECT_EQ(image.GetAlpha(1, 0), 0);
        EXPECT_EQ(image.GetAlpha(2, 0), file == &plain ? 128 : 0);
    }
}

} // namespace

// A header over the picture budget is refused by its size, with its format and numbers,
// before any data is looked for.
TEST(SimpleFormats, PicturesOverTheBudgetAreRefusedByTheirSize) {
    auto text = [](const std::string& s) {
        Bytes b;
        for (char c : s)
            b.u8(BYTE(c));
        return b;
    };
    Bytes ras;
    for (DWORD v : {0x59A66A95u, 40000u, 40000u, 8u, 0u, 1u, 0u, 0u})
        ras.raw({v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
    struct Case {
        DWORD type;
        Bytes bytes;
        const char* text;
    };
    const Case cases[] = {
        {CRaster::kTypeWbmp, Bytes().raw({0, 0, 0x82, 0xB8, 0x40, 0x82, 0xB8, 0x40}),
         "WBMP picture of 40000 x 40000 pixels needs 201 MB to read; the limit is 160 MB"},
        {CRaster::kTypePnm, text("P5 40000 40000 255\n"),
         "PNM picture of 40000 x 40000 pixels needs 1601 MB to read; the limit is 160 MB"},
        {CRaster::kTypePgx, text("PG ML + 8 40000 40000\n"),
         "PGX picture of 40000 x 40000 pixels needs 1601 MB to read; the limit is 160 MB"},
        {CRaster::kTypeRas, ras,
         "Sun raster picture of 40000 x 40000 pixels needs 1601 MB to read; the limit is 160 MB"},
    };
    for (const Case& c : cases) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(c.bytes, c.type));
        EXPECT_STREQ(image.GetLastError(), c.text);
        EXPECT_FALSE(image.IsValid());
    }
}
