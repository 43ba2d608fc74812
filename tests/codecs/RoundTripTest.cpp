#include "TestPictures.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct Case {
    DWORD type;
    int bpp;
    bool alpha;
};

std::string Name(const Case& c) {
    return "type" + std::to_string(c.type) + "_bpp" + std::to_string(c.bpp) +
           (c.alpha ? "_alpha" : "");
}

using Param = std::tuple<Case, std::pair<DWORD, DWORD>>;

std::string ParamName(const ::testing::TestParamInfo<Param>& info) {
    const Case& c = std::get<0>(info.param);
    const auto& size = std::get<1>(info.param);
    return Name(c) + "_" + std::to_string(size.first) + "x" + std::to_string(size.second);
}

class RoundTrip : public ::testing::TestWithParam<std::tuple<Case, std::pair<DWORD, DWORD>>> {};

// Every depth each format writes comes back with the same colours (and alpha where the
// format carries it), through the type id and through detection, and encoding leaves the
// caller's picture untouched.
TEST_P(RoundTrip, PixelsSurviveAndSourceIsUntouched) {
    const auto [c, size] = GetParam();
    CRaster source = TestPictures::Make(size.first, size.second, c.bpp);
    if (c.alpha)
        TestPictures::AddAlpha(source);
    if (c.type == CRaster::kTypePcx && c.bpp == 1)
        source.SetGrayPalette(); // the format's one-bit palette is black and white
    const std::vector<BYTE> before = TestPictures::Snapshot(source);

    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, c.type)) << source.GetLastError();
    EXPECT_EQ(TestPictures::Snapshot(source), before);

    CRaster byType;
    ASSERT_TRUE(byType.DecodeFromMemory(bytes, c.type)) << byType.GetLastError();
    EXPECT_EQ(byType.GetType(), c.type);
    EXPECT_TRUE(TestPictures::SameColors(source, byType, c.alpha));

    CRaster detected;
    ASSERT_TRUE(detected.DecodeFromMemory(bytes, CRaster::kTypeUnknown)) << detected.GetLastError();
    EXPECT_EQ(detected.GetType(), c.type);
    EXPECT_TRUE(TestPictures::SameColors(source, detected, c.alpha));
}

const Case kCases[] = {
    {CRaster::kTypeBmp, 1, false},  {CRaster::kTypeBmp, 4, false}, {CRaster::kTypeBmp, 8, false},
    {CRaster::kTypeBmp, 24, false}, {CRaster::kTypeBmp, 24, true}, {CRaster::kTypePng, 1, false},
    {CRaster::kTypePng, 4, false},  {CRaster::kTypePng, 8, false}, {CRaster::kTypePng, 24, false},
    {CRaster::kTypePng, 24, true},  {CRaster::kTypePng, 8, true},  {CRaster::kTypePng, 4, true},
    {CRaster::kTypeIco, 1, false},  {CRaster::kTypeIco, 4, false}, {CRaster::kTypeIco, 8, false},
    {CRaster::kTypeIco, 24, false}, {CRaster::kTypeIco, 24, true}, {CRaster::kTypeTga, 8, false},
    {CRaster::kTypeTga, 24, false}, {CRaster::kTypeTga, 24, true}, {CRaster::kTypePcx, 1, false},
    {CRaster::kTypePcx, 4, false},  {CRaster::kTypePcx, 8, false}, {CRaster::kTypePcx, 24, false},
    {CRaster::kTypePcx, 24, true},  {CRaster::kTypeTif, 4, false}, {CRaster::kTypeTif, 8, false},
    {CRaster::kTypeTif, 24, true},  {CRaster::kTypeTif, 8, true},
};

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(std::pair<DWORD, DWORD>{1, 1},
                                                              std::pair<DWORD, DWORD>{13, 7},
                                                              std::pair<DWORD, DWORD>{33, 20})),
                         ParamName);

TEST(Codecs, WbmpKeepsBitsAndFollowsThePalette) {
    CRaster source = TestPictures::Make(19, 6, 1);
    source.SetGrayPalette();
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypeWbmp));
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypeWbmp)) << back.GetLastError();
    EXPECT_TRUE(TestPictures::SameColors(source, back));

    // White first in the palette: the file must still show the same picture.
    CRaster inverted = source;
    inverted.SetPaletteColor(0, 255, 255, 255);
    inverted.SetPaletteColor(1, 0, 0, 0);
    for (DWORD y = 0; y < inverted.GetHeight(); ++y)
        for (DWORD x = 0; x < inverted.GetWidth(); ++x)
            inverted.SetPixelIndex(LONG(x), LONG(y), !source.GetPixelIndex(LONG(x), LONG(y)));
    bytes.clear();
    ASSERT_TRUE(inverted.EncodeToMemory(bytes, CRaster::kTypeWbmp));
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypeWbmp));
    EXPECT_TRUE(TestPictures::SameColors(inverted, back));

    CRaster deep = TestPictures::Make(4, 4, 8);
    bytes.clear();
    EXPECT_FALSE(deep.EncodeToMemory(bytes, CRaster::kTypeWbmp));
    EXPECT_STREQ(deep.GetLastError(), "Can't save this image as WBMP");
}

TEST(Codecs, PngKeepsGreyTransparencyInterlaceAndResolution) {
    CRaster grey(21, 9, 8, CRaster::kTypePng);
    grey.SetGrayPalette();
    for (DWORD y = 0; y < 9; ++y)
        for (DWORD x = 0; x < 21; ++x)
            grey.SetPixelIndex(LONG(x), LONG(y), BYTE(x * 12 + y));
    grey.SetTransparentIndex(30);
    grey.SetXDpi(300);
    grey.SetYDpi(150);
    grey.SetCodecOption(1, CRaster::kTypePng);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(grey.EncodeToMemory(bytes, CRaster::kTypePng));
    EXPECT_EQ(bytes[28], 1) << "interlace method in IHDR";
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypePng));
    EXPECT_TRUE(TestPictures::SameColors(grey, back));
    EXPECT_TRUE(back.IsGrayScale());
    EXPECT_EQ(back.GetTransparentIndex(), 30);
    EXPECT_EQ(back.GetXDpi(), 300);
    EXPECT_EQ(back.GetYDpi(), 150);
    EXPECT_EQ(back.GetCodecOption(CRaster::kTypePng), 1u);

    // A palette picture whose transparent entry is not 0 is written with the entry moved to
    // index 0 in the file only.
    CRaster colour = TestPictures::Make(10, 10, 4, CRaster::kTypePng);
    colour.SetTransparentIndex(3);
    const auto before = TestPictures::Snapshot(colour);
    bytes.clear();
    ASSERT_TRUE(colour.EncodeToMemory(bytes, CRaster::kTypePng));
    EXPECT_EQ(TestPictures::Snapshot(colour), before);
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypePng));
    EXPECT_TRUE(TestPictures::SameColors(colour, back));
    ASSERT_EQ(back.GetTransparentIndex(), 0);
    EXPECT_EQ(back.GetPaletteColor(0).ToColorRef(), colour.GetPaletteColor(3).ToColorRef());
}

// Pixels of the transparent index come back as transparent pixels (by index or alpha), the
// others keep their colours, and the caller's palette keeps its transparent entry.
TEST(Codecs, IconTransparencyTravelsThroughTheMask) {
    for (int bpp : {4, 8, 24}) {
        CRaster source = TestPictures::Make(16, 16, bpp);
        const RGBQUAD key = source.GetPixelColor(3, 3, false);
        source.SetTransparentIndex(bpp == 24 ? 0 : source.GetPixelIndex(3, 3));
        source.SetTransparentColor(key);
        const auto before = TestPictures::Snapshot(source);
        std::vector<BYTE> bytes;
        ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypeIco));
        EXPECT_EQ(TestPictures::Snapshot(source), before);
        CRaster back;
        ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypeIco)) << back.GetLastError();
        for (LONG y = 0; y < 16; ++y) {
            for (LONG x = 0; x < 16; ++x) {
                const RGBQUAD c = source.GetPixelColor(x, y, false);
                const bool hidden = c.rgbRed == key.rgbRed && c.rgbGreen == key.rgbGreen &&
                                    c.rgbBlue == key.rgbBlue;
                const bool backHidden =
                    back.IsAlphaValid()
                        ? back.GetAlpha(x, y) == 0
                        : (back.IsIndexed() ? back.GetPixelIndex(x, y) == back.GetTransparentIndex()
                                            : back.IsTransparent() &&
                                                  back.GetPixelColor(x, y, false).ToColorRef() ==
                                                      back.GetTransparentColor().ToColorRef());
                ASSERT_EQ(hidden, backHidden) << bpp << " at " << x << "," << y;
                if (!hidden) {
                    ASSERT_EQ(c.ToColorRef(), back.GetPixelColor(x, y, false).ToColorRef());
                }
            }
        }
    }
}

TEST(Codecs, PngPaletteAlphaTravelsAsTransparencyTable) {
    CRaster source = TestPictures::Make(9, 5, 8, CRaster::kTypePng);
    for (DWORD i = 0; i < 256; ++i) {
        RGBQUAD c = source.GetPaletteColor(i);
        c.rgbReserved = static_cast<BYTE>(255 - i);
        source.SetPaletteColor(i, c);
    }
    source.EnablePaletteAlpha(true);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypePng));
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypePng));
    EXPECT_TRUE(back.Info().paletteAlpha);
    EXPECT_FALSE(back.IsTransparent());
    EXPECT_TRUE(TestPictures::SameColors(source, back));
    for (DWORD i = 0; i < 256; ++i)
        ASSERT_EQ(back.GetPaletteColor(i).rgbReserved, 255 - i) << i;
}

TEST(Codecs, LargeIconHoldsPng) {
    CRaster source = TestPictures::Make(300, 300, 24);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypeIco));
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 0);
    EXPECT_EQ(bytes[22], 0x89);
    EXPECT_EQ(bytes[23], 'P');
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypeIco)) << back.GetLastError();
    EXPECT_EQ(back.GetType(), CRaster::kTypeIco);
    EXPECT_EQ(back.GetNumFrames(), 1);
    EXPECT_TRUE(TestPictures::SameColors(source, back));
}

TEST(Codecs, OddWidthPcxLinesArePaddedToEvenLength) {
    CRaster source = TestPictures::Make(5, 3, 8);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypePcx));
    EXPECT_EQ(bytes[66] | (bytes[67] << 8), 6) << "bytes per line";
    for (int bpp : {1, 4}) {
        CRaster narrow = TestPictures::Make(9, 4, bpp);
        if (bpp == 1)
            narrow.SetGrayPalette();
        std::vector<BYTE> b;
        ASSERT_TRUE(narrow.EncodeToMemory(b, CRaster::kTypePcx));
        EXPECT_EQ(b[66] | (b[67] << 8), 2) << bpp;
        CRaster back;
        ASSERT_TRUE(back.DecodeFromMemory(b, CRaster::kTypePcx)) << back.GetLastError();
        EXPECT_TRUE(TestPictures::SameColors(narrow, back)) << bpp;
    }
}

TEST(Codecs, OneBitPcxWithWhiteFirstIsWrittenInverted) {
    CRaster source = TestPictures::Make(17, 5, 1);
    source.SetPaletteColor(0, 255, 255, 255);
    source.SetPaletteColor(1, 0, 0, 0);
    const auto before = TestPictures::Snapshot(source);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypePcx));
    EXPECT_EQ(TestPictures::Snapshot(source), before);
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypePcx));
    EXPECT_TRUE(TestPictures::SameColors(source, back));
}

TEST(Codecs, UnsupportedDepthsAreRefusedWithTheirTexts) {
    CRaster four = TestPictures::Make(4, 4, 4);
    std::vector<BYTE> bytes;
    EXPECT_FALSE(four.EncodeToMemory(bytes, CRaster::kTypeTga));
    EXPECT_STREQ(four.GetLastError(), "Bit depth must be 8 or 24");
    EXPECT_TRUE(bytes.empty());
}

} // namespace

// Decoders fill the rows of a picture they did not clear first. What they never write (row
// padding, the unused bits of a last 1- or 4-bit byte) must still be zero, or stale heap
// bytes would reach the files written from the picture. The heap is soiled with blocks of
// the picture's size before every decode, so that the decoder's block is one of them.
TEST(Codecs, DecodedPicturesCarryNoStaleBytes) {
    const struct {
        DWORD type;
        int bpp;
    } cases[] = {{CRaster::kTypePng, 1},  {CRaster::kTypePng, 4}, {CRaster::kTypePng, 24},
                 {CRaster::kTypeTif, 4},  {CRaster::kTypeTif, 8}, {CRaster::kTypeTif, 24},
                 {CRaster::kTypeJpg, 24}, {CRaster::kTypeGif, 1}, {CRaster::kTypeGif, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Name({c.type, c.bpp, false}));
        CRaster source = TestPictures::Make(37, 9, c.bpp);
        if (c.type == CRaster::kTypeJpg)
            source.SetCodecOption(0x2000, CRaster::kTypeJpg); // 1x1 sampling
        if (c.type == CRaster::kTypeTif)
            source.SetCodecOption(5, CRaster::kTypeTif); // LZW
        std::vector<BYTE> bytes;
        ASSERT_TRUE(source.EncodeToMemory(bytes, c.type)) << source.GetLastError();
        {
            std::vector<std::vector<BYTE>> soil;
            for (std::size_t size = source.GetDibSize() / 2; size < 2 * source.GetDibSize();
                 size += 8)
                soil.emplace_back(size, BYTE{0xA5});
        }
        CRaster back;
        ASSERT_TRUE(back.DecodeFromMemory(bytes, c.type)) << back.GetLastError();
        ASSERT_EQ(back.GetBpp(), c.bpp);
        const std::size_t bits = std::size_t{back.GetWidth()} * back.GetBpp();
        for (DWORD y = 0; y < back.GetHeight(); ++y) {
            const BYTE* row = back.GetBits(y);
            if (bits % 8 != 0) {
                EXPECT_EQ(row[bits / 8] & (0xFF >> (bits % 8)), 0) << "row " << y;
            }
            for (std::size_t i = (bits + 7) / 8; i < back.GetStride(); ++i)
                ASSERT_EQ(row[i], 0) << "row " << y << " byte " << i;
        }
    }
}
