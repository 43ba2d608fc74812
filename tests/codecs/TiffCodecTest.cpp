// TIFF: files written by ImageMagick and libtiff's tools load to ImageMagick's pixels, pages
// turn as ImageMagick's -auto-orient turns them, and our files carry the tags tiffinfo expects.
#include "TestPictures.h"
#include "ToolTest.h"

#include "image/codecs/CRasterTIF.h"
#include "image/core/CRaster.h"
#include "image/core/CRasterMemFile.h"

#include <gtest/gtest.h>

#include <tiffio.h>

#include <cstdlib>

namespace {

using ExternalTools::kConvert;
using ExternalTools::Pnm;

class TiffTools : public ToolTest {
protected:
    TiffTools() : ToolTest({kConvert, "tiffinfo", "tiffset"}) {}
    void SetUp() override {
        ToolTest::SetUp();
        if (IsSkipped())
            return;
        // Gradients with a hard edge and a graded alpha, 37 x 23 (odd sizes on purpose).
        Run(kConvert + " -size 37x23 gradient:red-blue \\( -size 37x23 gradient:yellow-black " +
            "-crop 18x23+0+0 \\) -geometry +19+0 -composite -depth 8 " + dir_ + "/src.ppm");
        Run(kConvert + " " + dir_ + "/src.ppm \\( -size 37x23 gradient:white-black \\) " +
            "-alpha off -compose copy_opacity -composite " + dir_ + "/alpha.png");
    }
    // Decodes the file and compares with ImageMagick's reading of it (and its alpha).
    void CheckFile(const std::string& file, int tolerance, bool alpha, DWORD frame = 0) {
        SCOPED_TRACE(file);
        CRaster image;
        image.Info().frame = LONG(frame);
        ASSERT_TRUE(image.DecodeFromMemory(ExternalTools::ReadFile(file), CRaster::kTypeTif))
            << image.GetLastError();
        EXPECT_EQ(image.GetType(), CRaster::kTypeTif);
        const std::string page = "TIFF:" + file + "[" + std::to_string(frame) + "]";
        EXPECT_LE(MaxDifference(image, Read(kConvert + " " + page + " -alpha off -depth 8 ppm:-")),
                  tolerance);
        if (alpha) {
            EXPECT_TRUE(image.IsAlphaValid());
            EXPECT_LE(
                MaxAlphaDifference(image, Read(kConvert + " " + page + " -alpha extract pgm:-")),
                tolerance);
        }
    }
    // `command` writes {out} from {in} (the colour picture) or {alpha}.
    void CheckTheirs(std::string command, int tolerance = 0, bool alpha = false) {
        using ExternalTools::Substitute;
        command = Substitute(Substitute(Substitute(command, "{in}", dir_ + "/src.ppm"), "{alpha}",
                                        dir_ + "/alpha.png"),
                             "{out}", dir_ + "/theirs.tif");
        SCOPED_TRACE(command);
        Run(command);
        CheckFile(dir_ + "/theirs.tif", tolerance, alpha);
    }
};

TEST_F(TiffTools, FilesFromImageMagickAndTiffcpLoadToTheirPixels) {
    for (const char* c : {"None", "LZW", "Zip", "RLE"})
        CheckTheirs(kConvert + " {in} -compress " + std::string(c) + " TIFF:{out}");
    CheckTheirs(kConvert + " {in} -compress JPEG TIFF:{out}", 2); // YCbCr, read as RGB
    CheckTheirs(kConvert + " {in} -depth 16 TIFF:{out}", 1);
    CheckTheirs(kConvert + " {in} -interlace Plane TIFF:{out}");
    CheckTheirs(kConvert + " {in} -define tiff:tile-geometry=16x16 TIFF:{out}");
    CheckTheirs(kConvert + " {in} -colorspace CMYK TIFF:{out}", 1);
    CheckTheirs(kConvert + " {alpha} TIFF:{out}", 1, true);
    CheckTheirs(kConvert + " {alpha} -define tiff:alpha=associated TIFF:{out}", 2, true);
    CheckTheirs(kConvert + " {alpha} -colorspace Gray TIFF:{out}", 0, true);
    // Grey of every depth, both polarities, and palettes.
    for (int depth : {1, 2, 4, 6, 8, 12, 16})
        CheckTheirs(kConvert + " {in} -colorspace Gray -depth " + std::to_string(depth) +
                        " TIFF:{out}",
                    depth <= 8 && (depth & (depth - 1)) == 0 ? 0 : 1);
    CheckTheirs(kConvert + " {in} -monochrome -compress Group4 TIFF:{out}");
    CheckTheirs(kConvert + " {in} -monochrome -define quantum:polarity=min-is-white TIFF:{out}");
    CheckTheirs(kConvert + " {in} -colorspace Gray -define quantum:polarity=min-is-white "
                           "TIFF:{out}");
    CheckTheirs(kConvert + " {in} -colors 14 -type Palette TIFF:{out}", 1);
    CheckTheirs(kConvert + " {in} -colors 9 -type Palette -depth 4 TIFF:{out}");
    CheckTheirs(kConvert + " {in} -colors 200 -type Palette -compress LZW TIFF:{out}");
    if (ExternalTools::Have("tiffcp")) {
        Run(kConvert + " " + dir_ + "/src.ppm -compress None TIFF:" + dir_ + "/plain.tif");
        const std::string plain = dir_ + "/plain.tif";
        CheckTheirs("tiffcp -c lzw:2 " + plain + " {out}");
        CheckTheirs("tiffcp -c zip -t -w 16 -l 32 " + plain + " {out}");
        CheckTheirs("tiffcp -p separate " + plain + " {out}");
        CheckTheirs("tiffcp -c jpeg:r " + plain + " {out}", 2);
        CheckTheirs("tiffcp -r 5 -c packbits " + plain + " {out}");
    }
}

// Flat pictures pack into a few hundred bytes under zstd and lzma, far beyond any ratio of
// picture to data; they load all the same, in one strip or in many.
TEST_F(TiffTools, FlatPicturesFromTiffcpLoad) {
    if (!ExternalTools::Have("tiffcp"))
        GTEST_SKIP() << "tiffcp missing";
    const std::string plain = dir_ + "/flat.tif";
    Run(kConvert +
        " -size 4000x4000 xc:gray30 -depth 8 -colorspace Gray -compress None TIFF:" + plain);
    // ImageMagick 6 reads no zstd, so it reads each file as tiffcp expands it again.
    const std::string packed = dir_ + "/packed.tif", expanded = dir_ + "/expanded.tif";
    for (const char* options : {"-c zstd", "-c lzma", "-c zstd -r 4000", "-c zip:p9 -r 4000"}) {
        SCOPED_TRACE(options);
        Run("tiffcp " + std::string(options) + " " + plain + " " + packed);
        Run("tiffcp -c none " + packed + " " + expanded);
        const std::vector<BYTE> bytes = ExternalTools::ReadFile(packed);
        EXPECT_LT(bytes.size(), 16000u);
        CRaster image;
        ASSERT_TRUE(image.DecodeFromMemory(bytes, CRaster::kTypeTif)) << image.GetLastError();
        EXPECT_EQ(MaxDifference(image, Read(kConvert + " TIFF:" + expanded + " ppm:-")), 0);
    }
}

// Orientations set with tiffset turn the picture as ImageMagick's -auto-orient does, on the
// direct path (plain RGB) and through libtiff's RGBA reader (separate planes).
TEST_F(TiffTools, OrientationsMatchAutoOrient) {
    for (const char* layout : {"-compress None", "-interlace Plane", "-colorspace Gray -depth 8"}) {
        for (int n = 1; n <= 8; ++n) {
            SCOPED_TRACE(std::string(layout) + " orientation " + std::to_string(n));
            const std::string file = dir_ + "/turned.tif";
            Run(kConvert + " " + dir_ + "/src.ppm " + layout + " TIFF:" + file);
            Run("tiffset -s 274 " + std::to_string(n) + " " + file);
            CRaster image;
            ASSERT_TRUE(image.DecodeFromMemory(ExternalTools::ReadFile(file), CRaster::kTypeTif))
                << image.GetLastError();
            EXPECT_EQ(
                MaxDifference(image, Read(kConvert + " " + file + " -auto-orient -depth 8 ppm:-")),
                0);
        }
    }
}

TEST_F(TiffTools, OurTagsAndDefaults) {
    struct Case {
        int bpp;
        bool grey;
        bool alpha;
        const char* expect[3];
        int tolerance;
    };
    const Case cases[] = {
        {1, true, false, {"min-is-white", "CCITT Group 4", ""}, 0},
        {4, true, false, {"min-is-black", "LZW", ""}, 0},
        {4, false, false, {"palette color", "LZW", "Color Map"}, 0},
        {8, true, false, {"min-is-black", "LZW", "horizontal differencing"}, 0},
        {8, false, false, {"palette color", "LZW", "Color Map"}, 0},
        {8, true, true, {"min-is-black", "Extra Samples: 1<unassoc-alpha>", ""}, 0},
        {24, false, false, {"RGB color", "JPEG", ""}, 40},
        {24, false, true, {"RGB color", "Extra Samples: 1<unassoc-alpha>", "LZW"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bpp) + (c.grey ? " grey" : "") + (c.alpha ? " alpha" : ""));
        CRaster image = TestPictures::Make(29, 13, c.bpp);
        if (c.grey && c.bpp == 1) {
            image.SetPaletteColor(0, 0, 0, 0); // black first: written inverted
            image.SetPaletteColor(1, 255, 255, 255);
        } else if (c.grey) {
            const DWORD n = image.GetNumColors();
            for (DWORD i = 0; i < n; ++i)
                image.SetPaletteColor(i, BYTE(i * 255 / (n - 1)), BYTE(i * 255 / (n - 1)),
                                      BYTE(i * 255 / (n - 1)));
        }
        if (c.alpha)
            TestPictures::AddAlpha(image);
        image.SetXDpi(200);
        const std::vector<BYTE> before = TestPictures::Snapshot(image);
        std::vector<BYTE> bytes;
        ASSERT_TRUE(image.EncodeToMemory(bytes, CRaster::kTypeTif)) << image.GetLastError();
        EXPECT_EQ(TestPictures::Snapshot(image), before);
        const std::string file = Write("ours.tif", bytes);
        const std::string info = Text("tiffinfo " + file);
        for (const char* e : c.expect)
            EXPECT_NE(info.find(e), std::string::npos) << e << "\n" << info;
        EXPECT_NE(info.find("Resolution: 200, 96 pixels/inch"), std::string::npos) << info;
        EXPECT_NE(info.find("Orientation: row 0 top, col 0 lhs"), std::string::npos);
        EXPECT_LE(
            MaxDifference(image, Read(kConvert + " TIFF:" + file + " -alpha off -depth 8 ppm:-")),
            c.tolerance);
        if (c.alpha) {
            EXPECT_EQ(MaxAlphaDifference(
                          image, Read(kConvert + " TIFF:" + file + " -alpha extract pgm:-")),
                      0);
        }
        CRaster back;
        ASSERT_TRUE(back.DecodeFromMemory(bytes, CRaster::kTypeTif)) << back.GetLastError();
        if (c.tolerance == 0) {
            EXPECT_TRUE(TestPictures::SameColors(image, back, c.alpha));
        }
        EXPECT_EQ(back.GetXDpi(), 200);
    }
}

TEST_F(TiffTools, PagesAndKeptCompression) {
    // Three pages written through one kept handle.
    CRasterMemFile stream;
    ASSERT_TRUE(stream.Open());
    CRasterTIF writer;
    const int depths[] = {24, 8, 1};
    for (int i = 0; i < 3; ++i) {
        CRaster page = TestPictures::Make(10 + i, 5 + i, depths[i]);
        writer.Copy(page);
        writer.SetCodecOption(COMPRESSION_LZW, CRaster::kTypeTif);
        ASSERT_TRUE(writer.Encode(stream, i < 2)) << writer.GetLastError();
    }
    const std::string file = Write("pages.tif", stream.DetachBuffer());
    const std::string info = Text("tiffinfo " + file);
    EXPECT_NE(info.find("TIFF Directory at offset"), std::string::npos);
    EXPECT_NE(info.find("Page Number: 3-3"), std::string::npos) << info;
    EXPECT_NE(info.find("PageName: Page 2"), std::string::npos) << info;
    EXPECT_EQ(Text("identify-im6.q16 -format '%w ' " + file), "10 11 12 ");
    CRaster second;
    second.Info().frame = 1;
    ASSERT_TRUE(second.DecodeFromMemory(ExternalTools::ReadFile(file), CRaster::kTypeTif));
    EXPECT_EQ(second.GetNumFrames(), 3);
    EXPECT_EQ(second.GetWidth(), 11u);
    EXPECT_TRUE(TestPictures::SameColors(TestPictures::Make(11, 6, 8), second));
    CheckFile(file, 0, false, 2);

    // A page that is not there: the error, and the page count for the caller.
    CRaster missing = TestPictures::Make(2, 2, 24);
    const std::vector<BYTE> before = TestPictures::Snapshot(missing);
    missing.Info().frame = 3;
    EXPECT_FALSE(missing.DecodeFromMemory(ExternalTools::ReadFile(file), CRaster::kTypeTif));
    EXPECT_STREQ(missing.GetLastError(), "Error: page not present in TIFF file");
    EXPECT_EQ(missing.GetNumFrames(), 3);
    EXPECT_EQ(TestPictures::Snapshot(missing), before);

    // A page read with LZW is saved with LZW; one read with CCITT in colour falls back.
    Run(kConvert + " " + dir_ + "/src.ppm -compress LZW TIFF:" + dir_ + "/lzw.tif");
    CRaster lzw;
    ASSERT_TRUE(
        lzw.DecodeFromMemory(ExternalTools::ReadFile(dir_ + "/lzw.tif"), CRaster::kTypeTif));
    std::vector<BYTE> again;
    ASSERT_TRUE(lzw.EncodeToMemory(again, CRaster::kTypeTif));
    const std::string resaved = Write("again.tif", again);
    EXPECT_NE(Text("tiffinfo " + resaved).find("Compression Scheme: LZW"), std::string::npos);
    CheckFile(resaved, 0, false);
    lzw.SetCodecOption(COMPRESSION_CCITTFAX4, CRaster::kTypeTif);
    std::vector<BYTE> fallback;
    ASSERT_TRUE(lzw.EncodeToMemory(fallback, CRaster::kTypeTif));
    EXPECT_NE(Text("tiffinfo " + Write("fallback.tif", fallback)).find("Compression Scheme: JPEG"),
              std::string::npos);
}

TEST(TiffFile, BadFilesFailAndLeaveThePicture) {
    CRaster source = TestPictures::Make(40, 30, 24);
    source.SetCodecOption(COMPRESSION_LZW, CRaster::kTypeTif);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(source.EncodeToMemory(bytes, CRaster::kTypeTif));

    CRaster header;
    header.SetEscape(-1);
    ASSERT_TRUE(header.DecodeFromMemory(bytes, CRaster::kTypeTif));
    EXPECT_EQ(header.GetWidth(), 40u);
    EXPECT_STREQ(header.GetLastError(), "output dimensions returned");

    CRaster kept = TestPictures::Make(3, 3, 8);
    const std::vector<BYTE> before = TestPictures::Snapshot(kept);
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{100}, bytes.size() / 2}) {
        SCOPED_TRACE(cut);
        const std::vector<BYTE> part(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut));
        EXPECT_FALSE(kept.DecodeFromMemory(part, CRaster::kTypeTif));
        EXPECT_STRNE(kept.GetLastError(), "");
        EXPECT_EQ(TestPictures::Snapshot(kept), before);
    }
}

} // namespace

// A drawn picture (white, thin dark walls) written with LZW: strips long enough for the coder
// to reach the long strings such pictures are made of keep the file near ImageMagick's for
// the same three-sample layout; every reader sees the same pixels, and a file of one-row
// strips, as this program wrote them before, still reads.
TEST_F(TiffTools, FlatPictureStaysSmallAndOneRowStripsStillRead) {
    CRaster flat(600, 400, 24);
    for (DWORD y = 0; y < flat.GetHeight(); ++y) {
        BYTE* row = flat.GetBits(y);
        for (DWORD x = 0; x < flat.GetWidth(); ++x)
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = (x % 20 < 2 || y % 20 < 2) ? 30 : 255;
    }
    flat.SetCodecOption(COMPRESSION_LZW, CRaster::kTypeTif);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(flat.EncodeToMemory(bytes, CRaster::kTypeTif)) << flat.GetLastError();
    const std::string ours = Write("ours.tif", bytes);
    const std::string info = Text("tiffinfo " + ours);
    EXPECT_NE(info.find("Predictor: horizontal differencing"), std::string::npos) << info;
    EXPECT_EQ(info.find("Rows/Strip: 1\n"), std::string::npos) << info;
    EXPECT_EQ(MaxDifference(flat, Read(kConvert + " TIFF:" + ours + " -depth 8 ppm:-")), 0);

    Write("flat.ppm", ExternalTools::MakePpm(ToPnm(flat)));
    const std::string theirs = dir_ + "/theirs.tif";
    Run(kConvert + " " + dir_ + "/flat.ppm -type TrueColor -compress LZW TIFF:" + theirs);
    const std::size_t theirSize = ExternalTools::ReadFile(theirs).size();
    EXPECT_LE(bytes.size(), theirSize * 5 / 4) << "ImageMagick's file: " << theirSize;

    if (!ExternalTools::Have("tiffcp") || !ExternalTools::Have("tiffcmp"))
        return;
    const std::string old = dir_ + "/old.tif";
    Run("tiffcp -r 1 " + ours + " " + old);
    Run("tiffcmp " + ours + " " + old);
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(ExternalTools::ReadFile(old), CRaster::kTypeTif))
        << back.GetLastError();
    EXPECT_TRUE(TestPictures::SameColors(flat, back));
}
