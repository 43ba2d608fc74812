// JPEG: our decoder against djpeg and ImageMagick, our files in their readers, and the camera
// block read from hand-built EXIF data in both byte orders, hostile ones included.
#include "ExifBlock.h"
#include "TestPictures.h"
#include "ToolTest.h"

#include "image/codecs/CRasterJPG.h"
#include "image/core/CRaster.h"
#include "image/core/CRasterMemFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using ExternalTools::kConvert;
using ExternalTools::Pnm;

// A smooth picture with sharp edges, as JPEG meets them.
CRaster Smooth(DWORD width, DWORD height) {
    CRaster image(width, height, 24);
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x)
            image.SetPixelColor(LONG(x), LONG(y),
                                RGBQUAD::FromRgb(BYTE(x * 255 / width), BYTE(y * 255 / height),
                                                 x > width / 2 ? 200 : 40));
    return image;
}

std::vector<BYTE> EncodeJpeg(CRaster& image) {
    std::vector<BYTE> bytes;
    EXPECT_TRUE(image.EncodeToMemory(bytes, CRaster::kTypeJpg)) << image.GetLastError();
    return bytes;
}

class JpegTools : public ToolTest {
protected:
    JpegTools() : ToolTest({kConvert, "djpeg", "rdjpgcom"}) {}
};

TEST_F(JpegTools, DecodeEqualsDjpegExactly) {
    CRaster source = Smooth(61, 37);
    const std::string src = Write("src.ppm", ExternalTools::MakePpm(ToPnm(source)));
    const char* variants[] = {"-quality 90",
                              "-quality 50 -sampling-factor 1x1",
                              "-interlace JPEG -quality 80",
                              "-colorspace Gray",
                              "-sampling-factor 2x1 -quality 95",
                              "-define jpeg:arithmetic-coding=true"};
    for (const char* variant : variants) {
        SCOPED_TRACE(variant);
        const std::string file = dir_ + "/theirs.jpg";
        if (!ExternalTools::Run(kConvert + " " + src + " " + variant + " JPEG:" + file))
            continue; // an ImageMagick without that option
        CRaster image;
        ASSERT_TRUE(image.DecodeFromMemory(ExternalTools::ReadFile(file), CRaster::kTypeJpg))
            << image.GetLastError();
        EXPECT_EQ(image.GetType(), CRaster::kTypeJpg);
        EXPECT_EQ(MaxDifference(image, Read("djpeg -pnm " + file)), 0);
        if (std::string(variant) == "-colorspace Gray") {
            EXPECT_TRUE(image.IsGrayScale());
        }
    }

    // A file cut in half still decodes, its lost rows filled as djpeg fills them.
    CRaster large = Smooth(300, 200);
    std::vector<BYTE> cut = EncodeJpeg(large);
    cut.resize(cut.size() * 2 / 3);
    const std::string half = Write("half.jpg", cut);
    CRaster truncated;
    ASSERT_TRUE(truncated.DecodeFromMemory(cut, CRaster::kTypeJpg)) << truncated.GetLastError();
    EXPECT_EQ(MaxDifference(truncated, Read("djpeg -pnm " + half + " || test $? = 2")), 0);
    // and says what djpeg says of it.
    EXPECT_STREQ(truncated.GetLastError(), "Premature end of JPEG file");
}

TEST_F(JpegTools, CmykAndScaledAndQuantisedOutput) {
    const std::string cmyk = dir_ + "/cmyk.jpg";
    ASSERT_TRUE(
        ExternalTools::Run(kConvert + " -size 40x30 gradient:red-blue -colorspace CMYK " + cmyk));
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(ExternalTools::ReadFile(cmyk), CRaster::kTypeJpg))
        << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_LE(MaxDifference(image, Read(kConvert + " " + cmyk + " -colorspace sRGB ppm:-")), 2);

    CRaster smooth = Smooth(64, 48);
    const std::vector<BYTE> bytes = EncodeJpeg(smooth);
    CRaster half;
    half.Info().jpegScale = 2;
    ASSERT_TRUE(half.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(half.GetWidth(), 32u);
    EXPECT_EQ(half.GetHeight(), 24u);
    const std::string file = Write("ours.jpg", bytes);
    EXPECT_EQ(MaxDifference(half, Read("djpeg -scale 1/2 -pnm " + file)), 0);

    CRaster header;
    header.SetEscape(-1);
    ASSERT_TRUE(header.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(header.GetWidth(), 64u);
    EXPECT_FALSE(header.IsValid());

    CRaster grey;
    grey.SetCodecOption(CRasterJPG::kDecodeGrey, CRaster::kTypeJpg);
    ASSERT_TRUE(grey.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(MaxDifference(grey, Read("djpeg -grayscale -pnm " + file)), 0);

    CRaster few;
    few.SetCodecOption(CRasterJPG::kQuantize | CRasterJPG::kOnePass, CRaster::kTypeJpg);
    few.SetJpegQuality(16);
    ASSERT_TRUE(few.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(few.GetBpp(), 8);
    EXPECT_EQ(few.GetClrImportant(), 16u);
    EXPECT_EQ(MaxDifference(few, Read("djpeg -colors 16 -onepass -pnm " + file)), 0);
}

TEST_F(JpegTools, OurFilesReadInImageMagick) {
    CRaster colour = Smooth(50, 31);
    colour.SetXDpi(150);
    const std::vector<BYTE> bytes = EncodeJpeg(colour);
    const std::string file = Write("ours.jpg", bytes);
    EXPECT_LE(MaxDifference(colour, Read(kConvert + " " + file + " ppm:-")), 48);
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(MaxDifference(back, Read(kConvert + " " + file + " ppm:-")), 0);
    EXPECT_EQ(back.GetXDpi(), 150);
    const auto density = ExternalTools::Run("identify-im6.q16 -format '%x %U' " + file);
    ASSERT_TRUE(density);
    EXPECT_EQ(std::string(density->begin(), density->end()), "150 PixelsPerInch");

    // Grey palettes of every depth are written as grey JPEG; colour palettes are refused.
    for (int bpp : {1, 4, 8}) {
        CRaster grey(20, 10, bpp);
        const DWORD n = grey.GetNumColors();
        for (DWORD i = 0; i < n; ++i)
            grey.SetPaletteColor(i, BYTE(i * 255 / (n - 1)), BYTE(i * 255 / (n - 1)),
                                 BYTE(i * 255 / (n - 1)));
        for (DWORD y = 0; y < 10; ++y)
            for (DWORD x = 0; x < 20; ++x)
                grey.SetPixelIndex(LONG(x), LONG(y), BYTE((x / 5 + y / 5) % n));
        const std::string g = Write("grey.jpg", EncodeJpeg(grey));
        EXPECT_LE(MaxDifference(grey, Read(kConvert + " " + g + " ppm:-")), 30) << bpp;
        EXPECT_EQ(*ExternalTools::Run("identify-im6.q16 -format %[colorspace] " + g),
                  std::vector<BYTE>({'G', 'r', 'a', 'y'}));
    }
    CRaster palette = TestPictures::Make(8, 8, 8);
    std::vector<BYTE> refused;
    EXPECT_FALSE(palette.EncodeToMemory(refused, CRaster::kTypeJpg));
    EXPECT_STREQ(palette.GetLastError(), "JPEG can save only RGB or GreyScale images");

    // Progressive and optimised files stay readable.
    colour.SetCodecOption(CRasterJPG::kProgressive | CRasterJPG::kOptimize, CRaster::kTypeJpg);
    const std::string progressive = Write("prog.jpg", EncodeJpeg(colour));
    EXPECT_EQ(*ExternalTools::Run("identify-im6.q16 -format %[interlace] " + progressive),
              std::vector<BYTE>({'J', 'P', 'E', 'G'}));
}

// ---- the camera block ------------------------------------------------------------------------

// IFD0 with make, model, orientation and resolution, an EXIF sub-directory with exposure
// values and a user comment, and a thumbnail directory.
std::vector<BYTE> CameraBlock(bool motorola, const std::string& make = "Orlimber Cam") {
    ExifBlock b(motorola);
    const DWORD ifd0 = b.AddDirectory({
        ExifBlock::Ascii(0x010F, make),
        ExifBlock::Ascii(0x0110, "M1"),
        b.Short(0x0112, 6),
        b.Ratio(0x011A, 72, 1),
        b.Ratio(0x011B, 72, 1),
        b.Short(0x0128, 2),
        b.Long(0x8769, 0),
    });
    const DWORD sub = b.AddDirectory({
        b.Ratio(0x829A, 1, 125),
        b.Ratio(0x829D, 28, 10),
        b.Short(0x8827, 4),
        ExifBlock::Ascii(0x9003, "2026:12:09 10:11:12"),
        b.Short(0x9209, 0x19),
        b.Ratio(0x920A, 50, 1),
        ExifBlock::Undefined(0x9286, std::string("ASCII\0\0\0hello camera   ", 23)),
        b.Long(0xA002, 2000),
        b.Long(0xA003, 1500),
        b.Ratio(0xA20E, 1000, 1),
        b.Short(0xA210, 2),
    });
    b.Link(ifd0, 6, sub);
    const DWORD thumbnail = b.AddBytes({0xFF, 0xD8, 1, 2, 3, 4, 5, 6, 0xFF, 0xD9});
    const DWORD ifd1 = b.AddDirectory({b.Long(0x0201, thumbnail), b.Long(0x0202, 10)});
    b.SetNext(ifd0, ifd1);
    return b.Payload();
}

std::vector<BYTE> WithBlock(const std::vector<BYTE>& payload, const std::string& comment = "") {
    CRaster picture = Smooth(16, 16);
    const std::vector<BYTE> plain = EncodeJpeg(picture);
    std::vector<BYTE> out{0xFF, 0xD8};
    auto section = [&](BYTE marker, const std::vector<BYTE>& data) {
        const std::size_t length = data.size() + 2;
        out.insert(out.end(), {0xFF, marker, BYTE(length >> 8), BYTE(length)});
        out.insert(out.end(), data.begin(), data.end());
    };
    section(0xE1, payload);
    if (!comment.empty())
        section(0xFE, std::vector<BYTE>(comment.begin(), comment.end()));
    out.insert(out.end(), plain.begin() + 2, plain.end());
    return out;
}

const CRasterExifInfo& DecodeExif(CRasterJPG& jpg, const std::vector<BYTE>& bytes) {
    CRasterMemFile file(bytes.data(), bytes.size());
    EXPECT_TRUE(jpg.Decode(file, jpg.Info().decode)) << jpg.GetLastError();
    EXPECT_EQ(jpg.GetWidth(), 16u);
    return jpg.GetExifInfo();
}

TEST(JpegExif, CameraBlockIsReadInBothByteOrders) {
    for (bool motorola : {false, true}) {
        SCOPED_TRACE(motorola ? "MM" : "II");
        CRasterJPG jpg;
        const CRasterExifInfo& e =
            DecodeExif(jpg, WithBlock(CameraBlock(motorola), "Line one\r\nline\ttwo\x01"));
        ASSERT_TRUE(e.isExif);
        EXPECT_EQ(e.cameraMake, "Orlimber Cam");
        EXPECT_EQ(e.cameraModel, "M1");
        EXPECT_EQ(e.orientation, 6);
        EXPECT_EQ(e.dateTime, "2026:12:09 10:11:12");
        EXPECT_FLOAT_EQ(e.exposureTime, 1.0f / 125);
        EXPECT_FLOAT_EQ(e.apertureFNumber, 2.8f);
        EXPECT_EQ(e.isoEquivalent, 800);
        EXPECT_EQ(e.flashUsed, 1);
        EXPECT_FLOAT_EQ(e.focalLength, 50);
        EXPECT_FLOAT_EQ(e.ccdWidth, 2.0f);
        EXPECT_EQ(e.thumbnailSize, 10u);
        EXPECT_EQ(e.width, 16);
        EXPECT_EQ(e.isColor, 1);
        EXPECT_EQ(e.process, 0xC0);
        // The comment section comes after the block and replaces its user comment.
        EXPECT_EQ(e.comment, "Line one\nline\ttwo?");
        EXPECT_EQ(jpg.GetXDpi(), 72);
        EXPECT_EQ(jpg.GetYDpi(), 72);
    }
    CRasterJPG jpg;
    EXPECT_EQ(DecodeExif(jpg, WithBlock(CameraBlock(false))).comment, "hello camera");
}

TEST(JpegExif, HostileBlocksOnlyLoseTheCameraInformation) {
    std::vector<std::vector<BYTE>> blocks;
    for (bool motorola : {false, true}) {
        const std::vector<BYTE> good = CameraBlock(motorola);
        auto poke32 = [&](std::size_t at, DWORD v) {
            std::vector<BYTE> b = good;
            for (int i = 0; i < 4; ++i)
                b[6 + at + i] = BYTE(motorola ? v >> (24 - 8 * i) : v >> (8 * i));
            return b;
        };
        blocks.push_back(poke32(4, 0xFFFFFFF0));         // first directory far outside
        blocks.push_back(poke32(4, 3));                  // inside the header
        blocks.push_back(poke32(8 + 2 + 8, 0xFFFFFFFF)); // make's text outside
        blocks.push_back(poke32(8 + 2 + 4, 0x40000000)); // a count that overflows 32 bits
        blocks.push_back(poke32(8 + 2 + 12 * 6 + 8, 8)); // sub-directory loops to the first
        blocks.push_back(poke32(8 + 2 + 12 * 6 + 8, 1u << 31));
        std::vector<BYTE> entries = good;
        entries[6 + 8] = entries[6 + 9] = 0xFF; // 65535 entries
        blocks.push_back(entries);
        std::vector<BYTE> format = good;
        format[6 + 8 + 2 + 2 + (motorola ? 1 : 0)] = 13;
        blocks.push_back(format);
        std::vector<BYTE> order = good;
        order[6] = 'X';
        blocks.push_back(order);
        blocks.push_back(std::vector<BYTE>(good.begin(), good.begin() + 20));
    }
    blocks.push_back({'E', 'x', 'i', 'f'});
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        SCOPED_TRACE(i);
        CRasterJPG jpg;
        const CRasterExifInfo& e = DecodeExif(jpg, WithBlock(blocks[i]));
        EXPECT_FALSE(e.isExif);
        EXPECT_TRUE(jpg.Info().jpegExif.empty());
        EXPECT_EQ(jpg.GetXDpi(), 96); // from the JFIF header of the picture behind
    }

    // A thumbnail that would lie outside the block is not reported.
    ExifBlock b(true);
    const DWORD ifd0 = b.AddDirectory({b.Short(0x0112, 9)});
    const DWORD ifd1 = b.AddDirectory({b.Long(0x0201, 0x7FFFFFF0), b.Long(0x0202, 0x20)});
    b.SetNext(ifd0, ifd1);
    CRasterJPG jpg;
    const CRasterExifInfo& e = DecodeExif(jpg, WithBlock(b.Payload()));
    EXPECT_TRUE(e.isExif);
    EXPECT_EQ(e.thumbnailSize, 0u);
    EXPECT_EQ(e.orientation, 0);
}

TEST_F(JpegTools, ReencodingKeepsTheCameraBlockAndComment) {
    const std::vector<BYTE> camera = WithBlock(CameraBlock(true), "kept comment");
    CRaster picture;
    ASSERT_TRUE(picture.DecodeFromMemory(camera, CRaster::kTypeJpg));
    CRaster copy(picture);
    std::vector<BYTE> again;
    ASSERT_TRUE(copy.EncodeToMemory(again, CRaster::kTypeJpg));
    // The block comes right after the start of image, with no JFIF header before it.
    ASSERT_GT(again.size(), 4u);
    EXPECT_EQ(again[2], 0xFF);
    EXPECT_EQ(again[3], 0xE1);
    const std::string file = Write("again.jpg", again);
    const auto make = ExternalTools::Run("identify-im6.q16 -format '%[EXIF:Make]' " + file);
    ASSERT_TRUE(make);
    EXPECT_EQ(std::string(make->begin(), make->end()), "Orlimber Cam");
    const auto comment = ExternalTools::Run("rdjpgcom " + file);
    ASSERT_TRUE(comment);
    EXPECT_EQ(std::string(comment->begin(), comment->end()), "kept comment\n");

    // A different picture read into the same image forgets the block.
    CRaster png = Smooth(4, 4);
    std::vector<BYTE> pngBytes;
    ASSERT_TRUE(png.EncodeToMemory(pngBytes, CRaster::kTypePng));
    ASSERT_TRUE(copy.DecodeFromMemory(pngBytes, CRaster::kTypePng));
    std::vector<BYTE> plain;
    ASSERT_TRUE(copy.EncodeToMemory(plain, CRaster::kTypeJpg));
    EXPECT_EQ(plain[3], 0xE0);
}

TEST(JpegFile, ResolutionFromJfifAndBadFiles) {
    CRaster picture = Smooth(8, 8);
    std::vector<BYTE> bytes = EncodeJpeg(picture);
    ASSERT_EQ(bytes[3], 0xE0);
    // JFIF: unit at 13, densities at 14 and 16.
    bytes[13] = 2;
    bytes[14] = 0;
    bytes[15] = 100;
    bytes[16] = 0;
    bytes[17] = 100;
    CRaster cm;
    ASSERT_TRUE(cm.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(cm.GetXDpi(), 254);
    EXPECT_EQ(cm.GetYDpi(), 254);
    bytes[13] = 0;
    bytes[17] = 200;
    CRaster aspect;
    ASSERT_TRUE(aspect.DecodeFromMemory(bytes, CRaster::kTypeJpg));
    EXPECT_EQ(aspect.GetXDpi(), 96);
    EXPECT_EQ(aspect.GetYDpi(), 192);

    // Bad files fail with libjpeg's text and leave the picture as it was.
    CRaster kept = Smooth(3, 3);
    const std::vector<BYTE> before = TestPictures::Snapshot(kept);
    const std::vector<BYTE> junk{0xFF, 0xD8, 0xFF, 0xC0, 0, 3, 1};
    EXPECT_FALSE(kept.DecodeFromMemory(junk, CRaster::kTypeJpg));
    EXPECT_STRNE(kept.GetLastError(), "");
    EXPECT_FALSE(kept.DecodeFromMemory(std::vector<BYTE>{}, CRaster::kTypeJpg));
    EXPECT_EQ(TestPictures::Snapshot(kept), before);
}

} // namespace
