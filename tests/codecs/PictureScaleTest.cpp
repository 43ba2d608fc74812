// JPEG and JPEG 2000 within the picture budget: real flat files from the standard tools load
// as those tools read them; a picture over the budget is read at the largest scale that fits,
// to the pixels the tools give at that scale; hostile files padded past any ratio decode in
// bounded memory or are refused with their numbers.
#include "ToolTest.h"
#include "tests/support/ChildMemory.h"
#include "tests/support/ScaledPictureBombs.h"

#include "image/core/CRaster.h"
#include "image/core/PictureBudget.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

constexpr long kPeakLimitKb = 200 * 1024;

class PictureScale : public ToolTest {
protected:
    PictureScale()
        : ToolTest({ExternalTools::kConvert, "cjpeg", "djpeg", "opj_compress", "opj_decompress"}) {}

    CRaster Decode(const std::string& file, DWORD type, std::uint64_t budget = 0) {
        CRaster image;
        if (budget != 0)
            image.Info().decode.budget = budget;
        EXPECT_TRUE(image.DecodeFromMemory(ExternalTools::ReadFile(file), type))
            << file << ": " << image.GetLastError();
        return image;
    }
    // What opj_decompress makes of a file, reduced by `levels`.
    ExternalTools::Pnm Opj(const std::string& file, const char* out, unsigned levels = 0) {
        return Read("opj_decompress -i " + file + " -r " + std::to_string(levels) + " -o " + dir_ +
                    "/" + out + " > /dev/null && cat " + dir_ + "/" + out);
    }
};

TEST_F(PictureScale, FlatFilesFromTheToolsLoad) {
    Run(ExternalTools::kConvert + " -size 4000x4000 xc:gray50 -depth 8 " + dir_ + "/flat.pgm");
    Run(ExternalTools::kConvert + " -size 2000x2000 xc:'rgb(200,100,50)' -depth 8 " + dir_ +
        "/flat.ppm");
    Run("cjpeg -arithmetic " + dir_ + "/flat.pgm > " + dir_ + "/arith.jpg");
    Run("opj_compress -i " + dir_ + "/flat.pgm -o " + dir_ + "/flat.j2k > /dev/null");
    Run("opj_compress -i " + dir_ + "/flat.ppm -o " + dir_ + "/flat.jp2 > /dev/null");
    for (const char* name : {"arith.jpg", "flat.j2k", "flat.jp2"})
        EXPECT_LT(std::filesystem::file_size(dir_ + "/" + name), 400u) << name;

    const std::string arith = dir_ + "/arith.jpg";
    CRaster jpeg = Decode(arith, CRaster::kTypeJpg);
    EXPECT_EQ(jpeg.GetWidth(), 4000u);
    EXPECT_EQ(MaxDifference(jpeg, Read("djpeg -pnm " + arith)), 0);
    // Its scan is over long before the picture is, as arithmetic coding allows: no warning.
    EXPECT_STREQ(jpeg.GetLastError(), "");
    CRaster grey = Decode(dir_ + "/flat.j2k", CRaster::kTypeJpc);
    EXPECT_EQ(grey.GetWidth(), 4000u);
    EXPECT_EQ(MaxDifference(grey, Opj(dir_ + "/flat.j2k", "grey.pgm")), 0);
    CRaster colour = Decode(dir_ + "/flat.jp2", CRaster::kTypeJp2);
    EXPECT_EQ(colour.GetWidth(), 2000u);
    EXPECT_EQ(MaxDifference(colour, Opj(dir_ + "/flat.jp2", "colour.ppm")), 0);
}

TEST_F(PictureScale, OverTheBudgetReadsAtTheScaleThatFits) {
    const std::string source = dir_ + "/photo.ppm";
    Run(ExternalTools::kConvert + " -size 1024x768 gradient:red-blue -swirl 200 " +
        "\\( -size 1024x768 pattern:checkerboard \\) -compose multiply -composite -depth 8 " +
        source);
    Run("cjpeg -quality 85 " + source + " > " + dir_ + "/base.jpg");
    Run("cjpeg -progressive " + source + " > " + dir_ + "/prog.jpg");

    // Baseline: no coefficients are kept, so the picture alone decides the scale.
    struct Case {
        const char* file;
        std::uint64_t budget;
    };
    for (const Case c : {Case{"base.jpg", 1500000}, Case{"prog.jpg", 4000000}}) {
        SCOPED_TRACE(c.file);
        const std::string file = dir_ + "/" + c.file;
        CRaster image = Decode(file, CRaster::kTypeJpg, c.budget);
        const DWORD eighths = image.GetWidth() * 8 / 1024;
        EXPECT_GE(eighths, 1u);
        EXPECT_LT(eighths, 8u);
        EXPECT_EQ(image.GetWidth(), (1024 * eighths + 7) / 8);
        EXPECT_EQ(image.GetHeight(), (768 * eighths + 7) / 8);
        EXPECT_EQ(MaxDifference(
                      image, Read("djpeg -scale " + std::to_string(eighths) + "/8 -pnm " + file)),
                  0);
    }
    // A progressive file keeps every coefficient whatever the scale: 2.4 MB here.
    CRaster refused;
    refused.Info().decode.budget = 2000000;
    EXPECT_FALSE(
        refused.DecodeFromMemory(ExternalTools::ReadFile(dir_ + "/prog.jpg"), CRaster::kTypeJpg));
    EXPECT_EQ(
        std::string(refused.GetLastError()).rfind("JPEG picture of 1024 x 768 pixels needs ", 0),
        0u)
        << refused.GetLastError();
    EXPECT_FALSE(refused.IsValid());

    // JPEG 2000 leaves out resolution levels, as opj_decompress -r does.
    Run("opj_compress -i " + source + " -o " + dir_ + "/photo.jp2 > /dev/null");
    CRaster j2k = Decode(dir_ + "/photo.jp2", CRaster::kTypeJp2, 16000000);
    unsigned levels = 0;
    while ((1024u >> levels) > j2k.GetWidth())
        ++levels;
    EXPECT_GE(levels, 1u);
    EXPECT_EQ(j2k.GetWidth(), 1024u >> levels);
    EXPECT_EQ(MaxDifference(j2k, Opj(dir_ + "/photo.jp2", "reduced.ppm", levels)), 0);
    CRaster none;
    none.Info().decode.budget = 1000;
    EXPECT_FALSE(
        none.DecodeFromMemory(ExternalTools::ReadFile(dir_ + "/photo.jp2"), CRaster::kTypeJp2));
    EXPECT_EQ(std::string(none.GetLastError()).rfind("JP2 picture of 1024 x 768 pixels needs ", 0),
              0u)
        << none.GetLastError();
}

TEST(PictureScaleBombs, PaddedFilesDecodeBoundedOrAreRefused) {
    struct Expect {
        bool ok;
        DWORD width;      // when decoded
        const char* text; // start of the refusal or of the warning
    };
    const std::map<std::string, Expect> expect = {
        {"jpeg_arithmetic_13000_zeros", {true, 0, ""}},
        {"jpeg_huffman_13000_zeros", {true, 0, "Corrupt JPEG data"}},
        {"jpeg_progressive_4000", {true, 4000, "Corrupt JPEG data"}},
        {"j2k_9400_levels_comment", {true, 2350, ""}},
        {"j2k_9400_comment", {false, 0, "JPEG 2000 picture of 9400 x 9400 pixels needs "}}};
    const char* corpus = std::getenv("ORLIMBER_FUZZ_CORPUS");
    for (const PictureBombs::Bomb& bomb : ScaledPictureBombs::All()) {
        SCOPED_TRACE(bomb.name);
        EXPECT_LT(bomb.bytes.size(), 20000u);
        const Expect& e = expect.at(bomb.name);
        const ChildOutcome out = RunInChild([&](std::string& text) {
            CRaster image;
            const bool ok = image.DecodeFromMemory(bomb.bytes, bomb.type);
            text = std::to_string(image.GetWidth()) + " " + image.GetLastError();
            return ok;
        });
        EXPECT_EQ(out.ok, e.ok) << out.text;
        const DWORD width = DWORD(std::strtoul(out.text.c_str(), nullptr, 10));
        const std::string text = out.text.substr(out.text.find(' ') + 1);
        if (e.ok) {
            // Without a width given: 13000 read at no more than half.
            EXPECT_EQ(width, e.width != 0 ? e.width : std::min<DWORD>(width, 6500));
            EXPECT_GT(width, 0u);
        }
        EXPECT_EQ(text.substr(0, std::string(e.text).size()), e.text);
        EXPECT_GE(out.addedKb, 0);
        EXPECT_LT(out.addedKb, kPeakLimitKb);
        if (corpus == nullptr)
            continue;
        for (const char* folder : {bomb.type == CRaster::kTypeJpg ? "jpeg" : "jp2", "detect"}) {
            const std::string dir = std::string(corpus) + "/" + folder;
            std::filesystem::create_directories(dir);
            ExternalTools::WriteFile(dir + "/" + bomb.name, bomb.bytes);
        }
    }
}

// With a budget far beyond the memory the process may have, allocations fail inside libjpeg,
// OpenJPEG and our own picture: each decode ends in a message, never in an abort.
TEST(PictureScaleBombs, RunningOutOfMemoryIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator ends the process instead of failing an allocation";
#endif
    struct Case {
        PictureBombs::Bomb bomb;
        std::uint64_t room; // address space left to the decode
        BYTE jpegScale;     // an eighth: the coefficients fail, not the picture
    };
    PictureBombs::Bomb progressive = ScaledPictureBombs::ProgressiveJpeg();
    ScaledPictureBombs::detail::DeclareJpegSize(progressive.bytes, 13000, 13000);
    const Case cases[] = {{progressive, 100ull << 20, 8},
                          {ScaledPictureBombs::HuffmanJpeg(), 256ull << 20, 0},
                          {ScaledPictureBombs::LevelledCodestream(), 256ull << 20, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bomb.name);
        const ChildOutcome out = RunInChild([&](std::string& text) {
            std::uint64_t pages = 0;
            if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%" SCNu64, &pages) != 1)
                    pages = 0;
                std::fclose(statm);
            }
            const rlim_t limit = rlim_t(pages * std::uint64_t(sysconf(_SC_PAGESIZE)) + c.room);
            const rlimit space{limit, limit};
            setrlimit(RLIMIT_AS, &space);
            CRaster image;
            image.Info().decode.budget = 8ull << 30;
            image.Info().jpegScale = c.jpegScale;
            const bool ok = image.DecodeFromMemory(c.bomb.bytes, c.bomb.type);
            text = image.GetLastError();
            return ok;
        });
        EXPECT_GE(out.addedKb, 0) << "the child did not come back";
        EXPECT_FALSE(out.ok);
        EXPECT_TRUE(out.text == kPictureOutOfMemory ||
                    out.text == "CRaster::Create can't allocate memory")
            << out.text;
    }
}

} // namespace
