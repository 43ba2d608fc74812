// The JPEG 2000 family (JP2, code streams, PGX, PNM, Sun raster): files written by OpenJPEG's
// tools, ImageMagick and netpbm load to the pixels those tools read back, ours load in them,
// and hostile headers fail cleanly before anything large is allocated.
#include "Bytes.h"
#include "TestPictures.h"
#include "ToolTest.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

using ExternalTools::kConvert;
using ExternalTools::Pnm;
Pnm Gradient(DWORD width, DWORD height) {
    Pnm p;
    p.width = width;
    p.height = height;
    p.rgb.resize(std::size_t{width} * height * 3);
    for (DWORD y = 0; y < height; ++y) {
        for (DWORD x = 0; x < width; ++x) {
            BYTE* px = &p.rgb[(y * width + x) * 3];
            px[0] = BYTE(x * 255 / width);
            px[1] = BYTE(y * 255 / height);
            px[2] = BYTE((x * 7 + y * 13) % 256);
        }
    }
    return p;
}

::testing::AssertionResult Matches(const CRaster& image, const Pnm& ref, int tolerance) {
    if (image.GetWidth() != ref.width || image.GetHeight() != ref.height)
        return ::testing::AssertionFailure()
               << "size " << image.GetWidth() << "x" << image.GetHeight() << " vs " << ref.width
               << "x" << ref.height;
    for (DWORD top = 0; top < ref.height; ++top) {
        for (DWORD x = 0; x < ref.width; ++x) {
            const RGBQUAD c = image.GetPixelColor(LONG(x), LONG(ref.height - 1 - top), false);
            if (std::abs(c.rgbRed - ref.Red(x, top)) > tolerance ||
                std::abs(c.rgbGreen - ref.Green(x, top)) > tolerance ||
                std::abs(c.rgbBlue - ref.Blue(x, top)) > tolerance)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", top " << top << ") ours " << int(c.rgbRed) << ","
                       << int(c.rgbGreen) << "," << int(c.rgbBlue) << " theirs "
                       << int(ref.Red(x, top)) << "," << int(ref.Green(x, top)) << ","
                       << int(ref.Blue(x, top));
        }
    }
    return ::testing::AssertionSuccess();
}

class Jpeg2000Family : public ToolTest {
protected:
    Jpeg2000Family() : ToolTest({kConvert, "pamdepth", "opj_compress"}) {}
    void SetUp() override {
        ToolTest::SetUp();
        if (IsSkipped())
            return;
        ExternalTools::WriteFile(dir_ + "/src.ppm", ExternalTools::MakePpm(Gradient(67, 43)));
        ASSERT_TRUE(ExternalTools::Run("ppmtopgm " + dir_ + "/src.ppm > " + dir_ + "/src.pgm"));
    }

    std::string Expand(const std::string& command) const {
        return ExternalTools::Substitute(
            ExternalTools::Substitute(
                ExternalTools::Substitute(command, "{ppm}", dir_ + "/src.ppm"), "{pgm}",
                dir_ + "/src.pgm"),
            "{dir}", dir_);
    }

    // ImageMagick's reading of `file` as 8-bit RGB; netpbm's for Sun raster, which this
    // ImageMagick reads wrongly when runs cross rows.
    std::optional<Pnm> TheirReading(const std::string& file, const std::string& format) {
        const auto out =
            format == "SUN"
                ? ExternalTools::Run("rasttopnm " + file + " | ppmtoppm")
                : ExternalTools::Run(kConvert + " " + format + ":" + file + "[0] -depth 8 ppm:-");
        if (!out)
            return std::nullopt;
        return ExternalTools::ParsePnm(*out);
    }

    // Runs the tool that writes {dir}/theirs.<ext>, loads that file by `type` and by
    // detection, and compares with ImageMagick's reading.
    void CheckTheirs(const std::string& command, const std::string& ext, DWORD type,
                     const std::string& format, int tolerance = 0) {
        SCOPED_TRACE(command);
        const std::string file = dir_ + "/theirs." + ext;
        ASSERT_TRUE(ExternalTools::Run("( " + Expand(command) + " ) > /dev/null")) << "tool failed";
        const std::vector<BYTE> bytes = ExternalTools::ReadFile(file);
        CRaster image;
        ASSERT_TRUE(image.DecodeFromMemory(bytes, type)) << image.GetLastError();
        EXPECT_EQ(image.GetType(), type);
        const auto ref = TheirReading(file, format);
        ASSERT_TRUE(ref);
        EXPECT_TRUE(Matches(image, *ref, tolerance));
        CRaster detected;
        ASSERT_TRUE(detected.DecodeFromMemory(bytes, CRaster::kTypeUnknown));
        EXPECT_EQ(detected.GetType(), type);
    }

    // Writes `image` as `type` and compares with ImageMagick's reading of the file.
    void CheckOurs(CRaster& image, DWORD type, const std::string& format) {
        SCOPED_TRACE(format + " bpp " + std::to_string(image.GetBpp()));
        std::vector<BYTE> bytes;
        ASSERT_TRUE(image.EncodeToMemory(bytes, type)) << image.GetLastError();
        const std::string file = dir_ + "/ours";
        ExternalTools::WriteFile(file, bytes);
        const auto ref = TheirReading(file, format);
        ASSERT_TRUE(ref) << "ImageMagick cannot read it";
        EXPECT_TRUE(Matches(image, *ref, 0));
        CRaster again;
        ASSERT_TRUE(again.DecodeFromMemory(bytes, type)) << again.GetLastError();
        EXPECT_TRUE(TestPictures::SameColors(image, again));
    }
};

TEST_F(Jpeg2000Family, JpegTwoThousandFromTheToolsLoads) {
    const DWORD jp2 = CRaster::kTypeJp2, jpc = CRaster::kTypeJpc;
    CheckTheirs("opj_compress -i {ppm} -o {dir}/theirs.jp2", "jp2", jp2, "JP2");
    CheckTheirs("opj_compress -i {ppm} -o {dir}/theirs.j2k", "j2k", jpc, "J2K");
    CheckTheirs("opj_compress -i {pgm} -o {dir}/theirs.jp2", "jp2", jp2, "JP2");
    CheckTheirs("opj_compress -i {ppm} -o {dir}/theirs.jp2 -r 20,10", "jp2", jp2, "JP2");
    // 12- and 16-bit samples keep their high bits; ImageMagick rounds, so one step apart.
    CheckTheirs("pamdepth 4095 {ppm} > {dir}/d.ppm && opj_compress -i {dir}/d.ppm -o "
                "{dir}/theirs.j2k",
                "j2k", jpc, "J2K", 1);
    CheckTheirs("pamdepth 65535 {pgm} > {dir}/d.pgm && opj_compress -i {dir}/d.pgm -o "
                "{dir}/theirs.jp2",
                "jp2", jp2, "JP2", 1);
    CheckTheirs(kConvert + " {ppm} -quality 100 JP2:{dir}/theirs.jp2", "jp2", jp2, "JP2");
}

TEST_F(Jpeg2000Family, OpacityChannelBecomesAlpha) {
    ASSERT_TRUE(ExternalTools::Run(Expand(kConvert + " {ppm} \\( -size 67x43 gradient:white-black "
                                                     "\\) -alpha off -compose copy_opacity "
                                                     "-composite -quality 100 {dir}/a.jp2")));
    CRaster image;
    ASSERT_TRUE(image.Load(dir_ + "/a.jp2")) << image.GetLastError();
    ASSERT_TRUE(image.IsAlphaValid());
    EXPECT_EQ(image.GetBpp(), 24);
    const auto alpha = ExternalTools::Run(kConvert + " " + dir_ + "/a.jp2 -alpha extract pgm:-");
    ASSERT_TRUE(alpha);
    const auto pgm = ExternalTools::ParsePnm(*alpha);
    ASSERT_TRUE(pgm);
    for (DWORD top = 0; top < 43; top += 5)
        EXPECT_EQ(image.GetAlpha(3, LONG(42 - top)), pgm->Red(3, top)) << top;
}

TEST_F(Jpeg2000Family, NetpbmAndSunFilesLoad) {
    const DWORD pnm = CRaster::kTypePnm, ras = CRaster::kTypeRas;
    CheckTheirs("cp {ppm} {dir}/theirs.ppm", "ppm", pnm, "PPM");
    CheckTheirs("pnmtoplainpnm {ppm} > {dir}/theirs.ppm", "ppm", pnm, "PPM");
    CheckTheirs("pnmtoplainpnm {pgm} > {dir}/theirs.pgm", "pgm", pnm, "PGM");
    CheckTheirs("pamthreshold {pgm} | pamtopnm > {dir}/theirs.pbm", "pbm", pnm, "PBM");
    CheckTheirs("pamthreshold {pgm} | pamtopnm | pnmtoplainpnm > {dir}/theirs.pbm", "pbm", pnm,
                "PBM");
    CheckTheirs("pamdepth 65535 {ppm} > {dir}/theirs.ppm", "ppm", pnm, "PPM", 1);
    // Maximum values that are no power of two are stretched, not left dark.
    CheckTheirs("pamdepth 100 {pgm} > {dir}/theirs.pgm", "pgm", pnm, "PGM", 1);
    CheckTheirs("pamdepth 1000 {ppm} | pnmtoplainpnm > {dir}/theirs.ppm", "ppm", pnm, "PPM", 1);
    CheckTheirs("pnmtorast -standard {ppm} > {dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs("pnmtorast -rle {ppm} > {dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs("pnmtorast -rle {pgm} > {dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs("pnmquant 20 {ppm} | pnmtorast -rle > {dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs("pamthreshold {pgm} | pamtopnm | pnmtorast > {dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs(kConvert + " {ppm} SUN:{dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs(kConvert + " {ppm} -alpha set SUN:{dir}/theirs.ras", "ras", ras, "SUN");
    CheckTheirs(kConvert + " {pgm} PGX:{dir}/theirs.pgx", "pgx", CRaster::kTypePgx, "PGX");
}

TEST_F(Jpeg2000Family, OurFilesLoadInImageMagick) {
    CRaster colour = TestPictures::Make(37, 23, 24);
    CRaster grey = TestPictures::Make(37, 23, 8);
    grey.SetGrayPalette();
    colour.SetJpegQuality(100);
    grey.SetJpegQuality(100);
    for (CRaster* image : {&colour, &grey}) {
        CheckOurs(*image, CRaster::kTypeJp2, "JP2");
        CheckOurs(*image, CRaster::kTypeJpc, "J2K");
        CheckOurs(*image, CRaster::kTypePnm, "PNM");
        CheckOurs(*image, CRaster::kTypeRas, "SUN");
    }
    CheckOurs(grey, CRaster::kTypePgx, "PGX");
    // Tiny pictures have fewer resolution levels than the encoder's default.
    CRaster tiny = TestPictures::Make(1, 3, 24);
    tiny.SetJpegQuality(100);
    CheckOurs(tiny, CRaster::kTypeJp2, "JP2");
}

TEST_F(Jpeg2000Family, LossyRateShrinksTheFile) {
    CRaster image = TestPictures::Make(200, 150, 24);
    std::vector<BYTE> lossless, lossy;
    image.SetJpegQuality(100);
    ASSERT_TRUE(image.EncodeToMemory(lossless, CRaster::kTypeJp2));
    image.SetJpegQuality(10);
    ASSERT_TRUE(image.EncodeToMemory(lossy, CRaster::kTypeJp2));
    EXPECT_LT(lossy.size() * 3, lossless.size()) << lossy.size() << " " << lossless.size();
    CRaster back;
    ASSERT_TRUE(back.DecodeFromMemory(lossy, CRaster::kTypeJp2)) << back.GetLastError();
    EXPECT_EQ(back.GetWidth(), 200u);
}

// Signed 12-bit samples are moved up by 2^11 and keep their high eight bits, in PGX and in a
// code stream made from it.
TEST_F(Jpeg2000Family, SignedTwelveBitSamples) {
    Bytes pgx;
    const std::string header = "PG ML - 12 4 1\n";
    for (char c : header)
        pgx.u8(BYTE(c));
    const int samples[] = {-2048, -1, 0, 2047};
    for (int v : samples)
        pgx.u8((unsigned(v) >> 8) & 0xFF).u8(unsigned(v) & 0xFF);
    ExternalTools::WriteFile(dir_ + "/s.pgx", pgx.data());
    ASSERT_TRUE(ExternalTools::Run("opj_compress -n 1 -i " + dir_ + "/s.pgx -o " + dir_ +
                                   "/s.j2k > /dev/null"));
    for (const char* name : {"/s.pgx", "/s.j2k"}) {
        CRaster image;
        ASSERT_TRUE(image.Load(dir_ + name)) << name << ": " << image.GetLastError();
        ASSERT_EQ(image.GetBpp(), 8);
        EXPECT_EQ(image.GetNumFrames(), 1);
        const BYTE expected[] = {0, 127, 128, 255};
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.GetPixelColor(x, 0).rgbRed, expected[x]) << name << " x " << x;
    }
}

// Two components that are no colour picture: each is a grey frame of its own.
TEST_F(Jpeg2000Family, ComponentsBeyondColourAreFrames) {
    Bytes raw; // planar: the first component, then the second
    for (int c = 0; c < 2; ++c)
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
                raw.u8(c == 0 ? x * 25 : y * 40);
    ExternalTools::WriteFile(dir_ + "/two.raw", raw.data());
    ASSERT_TRUE(ExternalTools::Run("opj_compress -n 1 -i " + dir_ + "/two.raw -F 9,7,2,8,u -o " +
                                   dir_ + "/two.j2k > /dev/null"));
    const std::vector<BYTE> bytes = ExternalTools::ReadFile(dir_ + "/two.j2k");
    for (LONG frame = 0; frame < 2; ++frame) {
        CRaster image;
        image.Info().frame = frame;
        ASSERT_TRUE(image.DecodeFromMemory(bytes, CRaster::kTypeJpc)) << image.GetLastError();
        EXPECT_EQ(image.GetNumFrames(), 2);
        ASSERT_EQ(image.GetBpp(), 8);
        EXPECT_EQ(image.GetPixelColor(4, 6 - 3).rgbRed, frame == 0 ? 100 : 120);
    }
    CRaster beyond;
    beyond.Info().frame = 2;
    EXPECT_FALSE(beyond.DecodeFromMemory(bytes, CRaster::kTypeJpc));
    EXPECT_STREQ(beyond.GetLastError(), "wrong frame!");
}

TEST_F(Jpeg2000Family, HeaderOnlyAndMessages) {
    ASSERT_TRUE(ExternalTools::Run(Expand("opj_compress -i {pgm} -o {dir}/g.jp2 > /dev/null")));
    const std::vector<BYTE> bytes = ExternalTools::ReadFile(dir_ + "/g.jp2");
    CRaster header;
    header.SetEscape(-1);
    ASSERT_TRUE(header.DecodeFromMemory(bytes, CRaster::kTypePnm));
    EXPECT_EQ(header.GetWidth(), 67u);
    EXPECT_EQ(header.GetHeight(), 43u);
    EXPECT_EQ(header.GetType(), DWORD(CRaster::kTypeJp2));
    EXPECT_STREQ(header.GetLastError(), "output dimensions returned");

    CRaster grey;
    ASSERT_TRUE(grey.DecodeFromMemory(bytes, CRaster::kTypeJp2));
    EXPECT_EQ(grey.GetBpp(), 8);
    EXPECT_EQ(grey.GetNumFrames(), 1);
    CRaster wrongFrame;
    wrongFrame.Info().frame = 1;
    EXPECT_FALSE(wrongFrame.DecodeFromMemory(bytes, CRaster::kTypeJp2));
    EXPECT_STREQ(wrongFrame.GetLastError(), "wrong frame!");

    CRaster colour = TestPictures::Make(5, 4, 24);
    std::vector<BYTE> out;
    EXPECT_FALSE(colour.EncodeToMemory(out, CRaster::kTypePgx));
    EXPECT_STREQ(colour.GetLastError(), "PGX can save only GrayScale images");
    CRaster palette = TestPictures::Make(5, 4, 8);
    EXPECT_FALSE(palette.EncodeToMemory(out, CRaster::kTypeJp2));
    EXPECT_STREQ(palette.GetLastError(), "JasPer can save only RGB or GrayScale images");
    CRaster unknown;
    const Bytes junk = Bytes().raw({'G', 'I', 'F', '8', '9', 'a'});
    EXPECT_FALSE(unknown.DecodeFromMemory(junk, CRaster::kTypeRas));
    EXPECT_STREQ(unknown.GetLastError(), "error: unknowm format");
}

// Sizes and counts from the header are checked against the bytes and the picture limit
// before any pixel memory is taken.
TEST_F(Jpeg2000Family, HostileHeadersFailCleanly) {
    auto text = [](const std::string& s) {
        Bytes b;
        for (char c : s)
            b.u8(BYTE(c));
        return b;
    };
    const std::pair<DWORD, Bytes> cases[] = {
        {CRaster::kTypePnm, text("P6 100000 100000 255\n").fill(64, 7)},
        {CRaster::kTypePnm, text("P5 4294967295 1 255\n").fill(64, 7)},
        {CRaster::kTypePnm, text("P5 99999999999 1 255\n").fill(64, 7)},
        {CRaster::kTypePnm, text("P2 3 1 255\n1 2").fill(0, 0)},
        {CRaster::kTypePnm, text("P5 2 2 70000\n").fill(8, 7)},
        {CRaster::kTypePnm, text("P1 2 1\n0 7")},
        {CRaster::kTypePgx, text("PG ML + 16 60000 60000\n").fill(64, 7)},
        {CRaster::kTypePgx, text("PG XX + 8 2 2\n").fill(4, 7)},
        {CRaster::kTypeRas,
         Bytes().raw({0x59, 0xA6, 0x6A, 0x95, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0,    24,   0, 0,
                      0,    0,    0,    0,    0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 1})},
        {CRaster::kTypeRas,
         Bytes().raw({0x59, 0xA6, 0x6A, 0x95, 0, 0, 0, 2, 0, 0, 0, 1,    0,    0,    0,    8, 0,
                      0,    0,    0,    0,    0, 0, 1, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xF0, 1, 2})},
        {CRaster::kTypeRas,
         Bytes().raw({0x59, 0xA6, 0x6A, 0x95, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0,
                      0,    0,    0,    0,    0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4})},
    };
    for (const auto& [type, bytes] : cases) {
        CRaster image;
        EXPECT_FALSE(image.DecodeFromMemory(bytes, type)) << type;
        EXPECT_STRNE(image.GetLastError(), "") << type;
        EXPECT_FALSE(image.IsValid());
    }

    // A code stream whose size field claims 60000 x 60000 is read with resolution levels left
    // out, to fit the budget; its data, made for a small picture, then fails.
    ASSERT_TRUE(ExternalTools::Run(Expand("opj_compress -i {ppm} -o {dir}/c.j2k > /dev/null")));
    std::vector<BYTE> stream = ExternalTools::ReadFile(dir_ + "/c.j2k");
    ASSERT_GT(stream.size(), 20u);
    // Xsiz, Ysiz, XTsiz and YTsiz after FF4F FF51, Lsiz and Rsiz; the offsets stay 0.
    for (int field : {8, 12, 24, 28})
        stream[field] = 0, stream[field + 1] = 0, stream[field + 2] = 0xEA,
        stream[field + 3] = 0x60;
    CRaster huge;
    EXPECT_FALSE(huge.DecodeFromMemory(stream, CRaster::kTypeJpc));
    EXPECT_STRNE(huge.GetLastError(), "");
    // Every cut of a real file fails or decodes, never more.
    const std::vector<BYTE> whole = ExternalTools::ReadFile(dir_ + "/c.j2k");
    for (std::size_t cut = 0; cut < whole.size(); cut += 97) {
        CRaster part;
        part.DecodeFromMemory(std::span<const BYTE>(whole.data(), cut), CRaster::kTypeJpc);
    }
}

} // namespace
