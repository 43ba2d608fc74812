// Seeds for the decoder fuzz targets: small pictures of every depth and packing each format
// has. The test checks that every seed decodes; with ORLIMBER_FUZZ_CORPUS set to the fuzz
// corpus folder it also writes them there (fuzz/corpus/<format>/).
#include "Bytes.h"
#include "ExifBlock.h"
#include "ExternalTools.h"
#include "GifBytes.h"
#include "TestPictures.h"
#include "tests/support/PictureBombs.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

struct Seed {
    std::string folder;
    DWORD type;
    std::vector<BYTE> bytes;
};

std::vector<BYTE> Encode(DWORD type, int bpp, bool alpha, DWORD w = 5, DWORD h = 3) {
    CRaster image = TestPictures::Make(w, h, bpp);
    if (alpha)
        TestPictures::AddAlpha(image);
    if (type == CRaster::kTypePng && bpp == 8 && !alpha)
        image.SetTransparentIndex(3);
    std::vector<BYTE> out;
    EXPECT_TRUE(image.EncodeToMemory(out, type)) << type << " " << bpp;
    return out;
}

std::vector<Seed> Seeds() {
    std::vector<Seed> seeds;
    const std::map<DWORD, std::string> folders = {
        {CRaster::kTypeBmp, "bmp"}, {CRaster::kTypePng, "png"}, {CRaster::kTypeIco, "ico"},
        {CRaster::kTypeTga, "tga"}, {CRaster::kTypePcx, "pcx"}, {CRaster::kTypeWbmp, "wbmp"},
        {CRaster::kTypeTif, "tiff"}};
    const std::map<DWORD, std::vector<int>> depths = {
        {CRaster::kTypeBmp, {1, 4, 8, 24}}, {CRaster::kTypePng, {1, 4, 8, 24}},
        {CRaster::kTypeIco, {1, 4, 8, 24}}, {CRaster::kTypeTga, {8, 24}},
        {CRaster::kTypePcx, {1, 4, 8, 24}}, {CRaster::kTypeWbmp, {1}},
        {CRaster::kTypeTif, {1, 4, 8, 24}}};
    for (const auto& [type, list] : depths) {
        for (int bpp : list)
            seeds.push_back({folders.at(type), type, Encode(type, bpp, false)});
        if (type != CRaster::kTypeWbmp)
            seeds.push_back({folders.at(type), type, Encode(type, 24, true)});
    }
    seeds.push_back({"ico", CRaster::kTypeIco, Encode(CRaster::kTypeIco, 8, false, 256, 2)});

    // Packings our encoders do not write.
    Bytes rle8 = BmpInfo(4, 2, 8, 1, 2);
    rle8.raw({0, 0, 0, 0, 255, 255, 255, 0, 3, 1, 0, 2, 1, 0, 0, 0, 0, 3, 1, 0, 1, 0, 0, 1});
    Bytes rle4 = BmpInfo(6, 1, 4, 2, 2);
    rle4.raw({0, 0, 0, 0, 255, 0, 0, 0, 3, 0x10, 0, 3, 0x01, 0x10, 0, 1});
    Bytes masks = BmpInfo(2, 1, 16, 3);
    masks.u32(0xF800).u32(0x07E0).u32(0x001F).u16(0xFFFF).u16(0x07E0);
    Bytes core;
    core.u32(12).u16(2).u16(1).u16(1).u16(1).raw({0, 0, 0, 255, 255, 255, 0x80, 0, 0, 0});
    for (const Bytes* b : {&rle8, &rle4, &masks, &core})
        seeds.push_back({"bmp", CRaster::kTypeBmp, *b});
    Bytes tgaRle;
    tgaRle.u8(0).u8(0).u8(11).u16(0).u16(0).u8(0).u16(0).u16(0).u16(3).u16(2).u8(8).u8(0x30);
    tgaRle.raw({0x83, 9, 0x01, 5, 6});
    seeds.push_back({"tga", CRaster::kTypeTga, tgaRle});
    Bytes greyAlpha;
    greyAlpha.u8(0).u8(0).u8(11).u16(0).u16(0).u8(0).u16(0).u16(0).u16(3).u16(2).u8(16).u8(8);
    greyAlpha.raw({0x82, 40, 255, 0x02, 50, 0, 60, 128, 70, 255});
    seeds.push_back({"tga", CRaster::kTypeTga, greyAlpha});

    // GIF shapes our writer never makes: wide code sizes, frames past the screen or cut
    // short, a transparent index named only by a later frame, comment and loop blocks.
    GifBytes::FrameSpec wide;
    wide.width = 5;
    wide.height = 3;
    wide.codeSize = 11;
    wide.indices = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    GifBytes::FrameSpec over = wide;
    over.left = 3;
    over.top = 1;
    over.codeSize = 8;
    over.indices.resize(7);
    over.transparent = 2;
    over.disposal = 2;
    seeds.push_back({"gif", CRaster::kTypeGif, GifBytes::MakeGif(5, 3, {wide})});
    seeds.push_back({"gif", CRaster::kTypeGif, GifBytes::MakeGif(6, 4, {over, wide}, "seed", 0)});

    // JPEG: colour, grey, progressive, and one with a camera block and a comment.
    std::vector<BYTE> colourJpeg;
    for (DWORD option : {0u, 0x4u, 0x10u}) {
        CRaster image = TestPictures::Make(9, 7, 24);
        image.SetCodecOption(option, CRaster::kTypeJpg);
        std::vector<BYTE> out;
        EXPECT_TRUE(image.EncodeToMemory(out, CRaster::kTypeJpg));
        seeds.push_back({"jpeg", CRaster::kTypeJpg, out});
        if (colourJpeg.empty())
            colourJpeg = out;
    }
    for (bool motorola : {false, true}) {
        ExifBlock b(motorola);
        const DWORD ifd0 =
            b.AddDirectory({ExifBlock::Ascii(0x010F, "Make"), b.Short(0x0112, 3),
                            b.Ratio(0x011A, 300, 1), b.Short(0x0128, 2), b.Long(0x8769, 0)});
        const DWORD sub = b.AddDirectory({b.Ratio(0x829A, 1, 60), b.Short(0x9209, 1),
                                          ExifBlock::Undefined(0x9286, "ASCII\0\0\0note")});
        b.Link(ifd0, 4, sub);
        const DWORD ifd1 = b.AddDirectory({b.Long(0x0201, 8), b.Long(0x0202, 4)});
        b.SetNext(ifd0, ifd1);
        const std::vector<BYTE> payload = b.Payload();
        seeds.push_back({"exif", CRaster::kTypeUnknown, payload});
        std::vector<BYTE> jpeg = colourJpeg;
        std::vector<BYTE> section{0xFF, 0xE1, BYTE((payload.size() + 2) >> 8),
                                  BYTE(payload.size() + 2)};
        section.insert(section.end(), payload.begin(), payload.end());
        section.insert(section.end(), {0xFF, 0xFE, 0, 6, 'n', 'o', 't', 'e'});
        jpeg.insert(jpeg.begin() + 2, section.begin(), section.end());
        seeds.push_back({"jpeg", CRaster::kTypeJpg, jpeg});
    }
    // TIFF: LZW colour, JPEG colour (the default) and a tiled grey page with alpha.
    {
        CRaster image = TestPictures::Make(20, 18, 24);
        image.SetCodecOption(5, CRaster::kTypeTif);
        std::vector<BYTE> out;
        EXPECT_TRUE(image.EncodeToMemory(out, CRaster::kTypeTif));
        seeds.push_back({"tiff", CRaster::kTypeTif, out});
        seeds.push_back({"tiff", CRaster::kTypeTif, Encode(CRaster::kTypeTif, 24, true)});
    }

    std::vector<Seed> detect;
    for (const Seed& s : seeds)
        if (s.folder != "exif")
            detect.push_back({"detect", CRaster::kTypeUnknown, s.bytes});
    seeds.insert(seeds.end(), detect.begin(), detect.end());
    return seeds;
}

TEST(FuzzCorpus, EverySeedDecodes) {
    const char* target = std::getenv("ORLIMBER_FUZZ_CORPUS");
    std::map<std::string, int> counts;
    for (const Seed& seed : Seeds()) {
        CRaster image;
        if (seed.folder != "exif") {
            EXPECT_TRUE(image.DecodeFromMemory(seed.bytes, seed.type))
                << seed.folder << " " << counts[seed.folder] << ": " << image.GetLastError();
        }
        const int n = counts[seed.folder]++;
        if (target == nullptr)
            continue;
        const std::string dir = std::string(target) + "/" + seed.folder;
        std::filesystem::create_directories(dir);
        ExternalTools::WriteFile(dir + "/seed" + std::to_string(n), seed.bytes);
    }
}

// Files declaring far more picture than they hold: every reader refuses them, and the fuzz
// targets start from them so that the refusals stay in place.
TEST(FuzzCorpus, PictureBombsAreRefusedSeeds) {
    const char* target = std::getenv("ORLIMBER_FUZZ_CORPUS");
    const std::map<DWORD, std::string> folders = {{CRaster::kTypeJpg, "jpeg"},
                                                  {CRaster::kTypeJpc, "jp2"},
                                                  {CRaster::kTypeJp2, "jp2"},
                                                  {CRaster::kTypeTif, "tiff"}};
    for (const PictureBombs::Bomb& bomb : PictureBombs::All()) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(bomb.bytes, bomb.type)) << bomb.name;
        if (target == nullptr)
            continue;
        for (const std::string& folder : {folders.at(bomb.type), std::string("detect")}) {
            const std::string dir = std::string(target) + "/" + folder;
            std::filesystem::create_directories(dir);
            ExternalTools::WriteFile(dir + "/" + bomb.name, bomb.bytes);
        }
    }
}

} // namespace
