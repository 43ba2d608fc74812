// Small files that claim huge pictures: every reader refuses them before making the picture,
// while files that really fill their picture, however well they pack, still decode.
#include "Bytes.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

constexpr const char* kTooLarge = "picture larger than its data";

void Chunk(Bytes& png, const std::string& type, const std::vector<BYTE>& body) {
    png.u8(body.size() >> 24).u8((body.size() >> 16) & 0xFF).u8((body.size() >> 8) & 0xFF);
    png.u8(body.size() & 0xFF);
    std::vector<BYTE> typed(type.begin(), type.end());
    typed.insert(typed.end(), body.begin(), body.end());
    png.append(typed);
    const uLong crc = crc32(0, typed.data(), static_cast<uInt>(typed.size()));
    png.u8(crc >> 24).u8((crc >> 16) & 0xFF).u8((crc >> 8) & 0xFF).u8(crc & 0xFF);
}

// A grey 8-bit PNG whose IDAT holds `rows` zero-filled filtered rows of the given width.
std::vector<BYTE> GreyPng(DWORD width, DWORD height, DWORD rows) {
    Bytes png;
    png.raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    Bytes ihdr;
    ihdr.u8(width >> 24).u8((width >> 16) & 0xFF).u8((width >> 8) & 0xFF).u8(width & 0xFF);
    ihdr.u8(height >> 24).u8((height >> 16) & 0xFF).u8((height >> 8) & 0xFF).u8(height & 0xFF);
    ihdr.raw({8, 0, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    const std::vector<BYTE> raw(std::size_t(width + 1) * rows, 0);
    std::vector<BYTE> packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf size = static_cast<uLongf>(packed.size());
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(size);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    return png;
}

TEST(DataBound, PngSizeIsCheckedAgainstTheBudgetFirst) {
    // A hundred-odd bytes claiming 20000 x 20000 grey pixels.
    const auto bomb = GreyPng(20000, 20000, 1);
    ASSERT_LT(bomb.size(), 200u);
    CRaster image;
    EXPECT_FALSE(image.DecodeFromMemory(bomb, CRaster::kTypePng));
    EXPECT_STREQ(image.GetLastError(),
                 "PNG picture of 20000 x 20000 pixels needs 401 MB to read; the limit is 160 MB");
    EXPECT_FALSE(image.IsValid());

    // All-zero rows pack about as tightly as deflate allows, and still decode.
    const auto blank = GreyPng(3000, 2000, 2000);
    CRaster whole;
    ASSERT_TRUE(whole.DecodeFromMemory(blank, CRaster::kTypePng)) << whole.GetLastError();
    EXPECT_EQ(whole.GetWidth(), 3000u);
    EXPECT_EQ(whole.GetPixelIndex(2999, 1999), 0);
}

TEST(DataBound, RunLengthTgaAndPcxAreBoundByWhatTheirPacketsCanFill) {
    // TGA: one packet of at most 128 pixels per packet header and pixel.
    Bytes tga;
    tga.u8(0).u8(0).u8(10).u16(0).u16(0).u8(0).u16(0).u16(0).u16(6000).u16(6000);
    tga.u8(24).u8(0);
    for (int i = 0; i < 20; ++i)
        tga.raw({0xFF, 1, 2, 3});
    CRaster image;
    EXPECT_FALSE(image.DecodeFromMemory(tga, CRaster::kTypeTga));
    EXPECT_STREQ(image.GetLastError(), kTooLarge);

    // PCX: two bytes give at most 63.
    Bytes pcx;
    pcx.u8(10).u8(5).u8(1).u8(8).u16(0).u16(0).u16(7999).u16(7999);
    pcx.u16(72).u16(72).fill(48, 0).u8(0).u8(1).u16(8000).u16(1).fill(58, 0);
    pcx.fill(4000, 0xFF);
    EXPECT_FALSE(image.DecodeFromMemory(pcx, CRaster::kTypePcx));
    EXPECT_STREQ(image.GetLastError(), kTooLarge);
}

} // namespace
