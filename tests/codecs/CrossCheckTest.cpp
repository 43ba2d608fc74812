// Pictures written by ImageMagick and netpbm load here to the pixels those tools read back,
// and pictures written here load in ImageMagick and netpbm to the same pixels.
#include "Bytes.h"
#include "GifBytes.h"
#include "TestPictures.h"
#include "ToolTest.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using ExternalTools::kConvert;
using ExternalTools::Pnm;

// A colourful picture with a smooth part and a part with few colours.
Pnm SourcePicture(DWORD width, DWORD height) {
    Pnm p;
    p.width = width;
    p.height = height;
    p.rgb.resize(std::size_t{width} * height * 3);
    for (DWORD y = 0; y < height; ++y) {
        for (DWORD x = 0; x < width; ++x) {
            BYTE* px = &p.rgb[(y * width + x) * 3];
            if (x < width / 2) {
                px[0] = BYTE(x * 255 / width);
                px[1] = BYTE(y * 255 / height);
                px[2] = BYTE((x * y) % 256);
            } else {
                px[0] = ((x / 3 + y / 2) % 3) * 120;
                px[1] = (y % 4) * 60;
                px[2] = 200;
            }
        }
    }
    return p;
}

::testing::AssertionResult SameAsReference(const CRaster& image, const Pnm& reference,
                                           int tolerance = 0) {
    if (image.GetWidth() != reference.width || image.GetHeight() != reference.height)
        return ::testing::AssertionFailure()
               << "size " << image.GetWidth() << "x" << image.GetHeight() << " vs "
               << reference.width << "x" << reference.height;
    for (DWORD top = 0; top < reference.height; ++top) {
        for (DWORD x = 0; x < reference.width; ++x) {
            const RGBQUAD c = image.GetPixelColor(LONG(x), LONG(reference.height - 1 - top), false);
            const int dr = std::abs(c.rgbRed - reference.Red(x, top));
            const int dg = std::abs(c.rgbGreen - reference.Green(x, top));
            const int db = std::abs(c.rgbBlue - reference.Blue(x, top));
            if (dr > tolerance || dg > tolerance || db > tolerance)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", top " << top << ") ours " << int(c.rgbRed) << ","
                       << int(c.rgbGreen) << "," << int(c.rgbBlue) << " theirs "
                       << int(reference.Red(x, top)) << "," << int(reference.Green(x, top)) << ","
                       << int(reference.Blue(x, top));
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameAlpha(const CRaster& image, const Pnm& alpha) {
    for (DWORD top = 0; top < alpha.height; ++top) {
        for (DWORD x = 0; x < alpha.width; ++x) {
            const LONG y = LONG(alpha.height - 1 - top);
            const int ours = image.IsAlphaValid() ? image.GetAlpha(LONG(x), y) : 255;
            if (ours != alpha.Red(x, top))
                return ::testing::AssertionFailure()
                       << "alpha at (" << x << ", top " << top << ") ours " << ours << " theirs "
                       << int(alpha.Red(x, top));
        }
    }
    return ::testing::AssertionSuccess();
}

class CrossCheck : public ToolTest {
protected:
    CrossCheck() : ToolTest({kConvert, "pnmtopng"}) {}
    void SetUp() override {
        ToolTest::SetUp();
        if (IsSkipped())
            return;
        ExternalTools::WriteFile(dir_ + "/src.ppm", ExternalTools::MakePpm(SourcePicture(37, 23)));
        ExternalTools::WriteFile(dir_ + "/small.ppm",
                                 ExternalTools::MakePpm(SourcePicture(32, 32)));
        // A picture with graded alpha, written by ImageMagick itself.
        ASSERT_TRUE(ExternalTools::Run(kConvert + " " + dir_ + "/src.ppm \\( -size 37x23 " +
                                       "gradient:white-black \\) -alpha off -compose " +
                                       "copy_opacity -composite " + dir_ + "/alpha.png"));
    }

    std::string Expand(const std::string& command, const std::string& out) const {
        return ExternalTools::Substitute(
            ExternalTools::Substitute(
                ExternalTools::Substitute(
                    ExternalTools::Substitute(command, "{in}", dir_ + "/src.ppm"), "{small}",
                    dir_ + "/small.ppm"),
                "{alpha}", dir_ + "/alpha.png"),
            "{out}", out);
    }

    struct Reference {
        std::string pixels; // prints the tool's reading as PNM; {file} is the picture
        std::string alpha;  // prints its alpha as PGM; empty: no alpha check
        int tolerance = 0;
    };

    // ImageMagick's reading of a file of `format`.
    static Reference Magick(const std::string& format, bool alpha = false, int tolerance = 0) {
        return {kConvert + " " + format + ":{file}[0] -alpha off -depth 8 ppm:-",
                alpha ? kConvert + " " + format + ":{file}[0] -alpha extract -depth 8 pgm:-" : "",
                tolerance};
    }
    // netpbm's reading of TGA (this ImageMagick reads and writes TGA rows upside down).
    // Five-bit channels are widened by repeating their top bits here and by rounding in
    // pnmdepth, which may differ by one.
    static Reference Netpbm(bool alpha = false, int tolerance = 0) {
        return {"tgatoppm {file} | pnmdepth 255",
                alpha ? "tgatoppm -alphaout={file}.alpha {file} >/dev/null && cat {file}.alpha"
                      : "",
                tolerance};
    }

    void Compare(const CRaster& image, const std::string& file, const Reference& ref) {
        const auto printed =
            ExternalTools::Run(ExternalTools::Substitute(ref.pixels, "{file}", file));
        ASSERT_TRUE(printed) << "reader failed";
        const auto pnm = ExternalTools::ParsePnm(*printed);
        ASSERT_TRUE(pnm);
        EXPECT_TRUE(SameAsReference(image, *pnm, ref.tolerance));
        if (ref.alpha.empty())
            return;
        const auto alpha = ExternalTools::Run(ExternalTools::Substitute(ref.alpha, "{file}", file));
        ASSERT_TRUE(alpha) << "alpha reader failed";
        const auto pgm = ExternalTools::ParsePnm(*alpha);
        ASSERT_TRUE(pgm);
        EXPECT_TRUE(SameAlpha(image, *pgm));
    }

    // Writes a file with the tool, decodes it here (by type and by detection) and compares
    // with the tool's own reading.
    void CheckTheirs(const std::string& command, DWORD type, const Reference& ref) {
        SCOPED_TRACE(command);
        const std::string out = dir_ + "/theirs";
        ASSERT_TRUE(ExternalTools::Run(Expand(command, out))) << "tool failed";
        const std::vector<BYTE> bytes = ExternalTools::ReadFile(out);
        CRaster image;
        ASSERT_TRUE(image.DecodeFromMemory(bytes, type)) << image.GetLastError();
        Compare(image, out, ref);
        CRaster detected;
        ASSERT_TRUE(detected.DecodeFromMemory(bytes, 0));
        EXPECT_EQ(detected.GetType(), type);
    }

    // Writes a file here and compares with the tool's reading of it.
    void CheckOurs(CRaster& image, DWORD type, const Reference& ref) {
        SCOPED_TRACE(ref.pixels + " bpp " + std::to_string(image.GetBpp()));
        std::vector<BYTE> bytes;
        ASSERT_TRUE(image.EncodeToMemory(bytes, type)) << image.GetLastError();
        const std::string file = dir_ + "/ours";
        ExternalTools::WriteFile(file, bytes);
        Compare(image, file, ref);
    }
};

TEST_F(CrossCheck, BmpWrittenByTheToolsLoads) {
    const DWORD t = CRaster::kTypeBmp;
    CheckTheirs(kConvert + " {in} -type TrueColor BMP3:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} -type Palette BMP3:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} -colors 14 BMP3:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} -monochrome BMP3:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} -type Palette -compress RLE BMP3:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} BMP2:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} -define bmp:subtype=RGB565 BMP:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {in} -define bmp:subtype=RGB555 BMP:{out}", t, Magick("BMP"));
    CheckTheirs(kConvert + " {alpha} BMP:{out}", t, Magick("BMP", true));
    CheckTheirs("ppmtobmp -windows {in} > {out}", t, Magick("BMP"));
    CheckTheirs("ppmtobmp -os2 {in} > {out}", t, Magick("BMP"));
    CheckTheirs("pnmquant 12 {in} | ppmtobmp -windows > {out}", t, Magick("BMP"));
    CheckTheirs("ppmtopgm {in} | pamthreshold | ppmtobmp > {out}", t, Magick("BMP"));
}

TEST_F(CrossCheck, PngWrittenByTheToolsLoads) {
    const DWORD t = CRaster::kTypePng;
    for (const char* kind : {"PNG8", "PNG24", "PNG48"})
        CheckTheirs(kConvert + " {in} " + kind + ":{out}", t, Magick("PNG"));
    CheckTheirs(kConvert + " {alpha} PNG32:{out}", t, Magick("PNG", true));
    CheckTheirs(kConvert + " {alpha} PNG64:{out}", t, Magick("PNG", true));
    // 16-bit samples keep their high byte; ImageMagick rounds, so they may differ by one.
    CheckTheirs(kConvert + " {in} -colorspace Gray -depth 16 PNG:{out}", t,
                Magick("PNG", false, 1));
    CheckTheirs(kConvert + " {in} -interlace PNG PNG24:{out}", t, Magick("PNG"));
    CheckTheirs(kConvert + " {alpha} -interlace PNG PNG32:{out}", t, Magick("PNG", true));
    CheckTheirs(kConvert + " {in} -monochrome PNG:{out}", t, Magick("PNG"));
    CheckTheirs("pnmtopng {in} > {out}", t, Magick("PNG"));
    CheckTheirs("pnmtopng -interlace {in} > {out}", t, Magick("PNG"));
    CheckTheirs("ppmtopgm {in} | pnmdepth 3 | pnmtopng > {out}", t, Magick("PNG"));
    CheckTheirs("ppmtopgm {in} | pnmdepth 15 | pnmtopng > {out}", t, Magick("PNG"));
    CheckTheirs("ppmtopgm {in} | pnmtopng > {out}", t, Magick("PNG"));
    CheckTheirs("pnmquant 4 {in} | pnmtopng > {out}", t, Magick("PNG"));
    CheckTheirs("pnmquant 16 {in} | pnmtopng > {out}", t, Magick("PNG"));
    // Interlaced passes land in their places at every depth and packing.
    CheckTheirs("ppmtopgm {in} | pnmdepth 3 | pnmtopng -interlace > {out}", t, Magick("PNG"));
    CheckTheirs("ppmtopgm {in} | pnmdepth 15 | pnmtopng -interlace > {out}", t, Magick("PNG"));
    CheckTheirs("ppmtopgm {in} | pnmtopng -interlace > {out}", t, Magick("PNG"));
    CheckTheirs("pnmquant 4 {in} | pnmtopng -interlace > {out}", t, Magick("PNG"));
    CheckTheirs(kConvert + " {in} -monochrome -interlace PNG PNG:{out}", t, Magick("PNG"));
    CheckTheirs(kConvert + " {alpha} -colorspace Gray -interlace PNG PNG:{out}", t,
                Magick("PNG", true));
    CheckTheirs(kConvert + " {in} -depth 16 -interlace PNG PNG48:{out}", t,
                Magick("PNG", false, 1));
}

TEST_F(CrossCheck, IconsWrittenByTheToolsLoad) {
    const DWORD t = CRaster::kTypeIco;
    CheckTheirs(kConvert + " {small} ICO:{out}", t, Magick("ICO"));
    CheckTheirs(kConvert + " {small} -colors 16 ICO:{out}", t, Magick("ICO"));
    CheckTheirs(kConvert + " {in} -resize 256x256! ICO:{out}", t, Magick("ICO"));
    CheckTheirs("pnmquant 16 {small} | ppmtowinicon > {out}", t, Magick("ICO"));
    CheckTheirs("pamtowinicon {small} > {out}", t, Magick("ICO"));
}

TEST_F(CrossCheck, TgaWrittenByTheToolsLoads) {
    const DWORD t = CRaster::kTypeTga;
    CheckTheirs(kConvert + " {in} TGA:{out}", t, Netpbm());
    CheckTheirs(kConvert + " {in} -compress RLE TGA:{out}", t, Netpbm());
    CheckTheirs(kConvert + " {in} -type Palette TGA:{out}", t, Netpbm());
    CheckTheirs(kConvert + " {in} -colorspace Gray TGA:{out}", t, Netpbm());
    CheckTheirs(kConvert + " {alpha} TGA:{out}", t, Netpbm(true));
    CheckTheirs("pamtotga -norle {in} > {out}", t, Netpbm());
    CheckTheirs("pamtotga {in} > {out}", t, Netpbm());
    CheckTheirs("pnmquant 100 {in} | pamtotga -cmap > {out}", t, Netpbm());
    CheckTheirs("pnmquant 100 {in} | pamtotga -cmap16 > {out}", t, Netpbm(false, 1));
    CheckTheirs("ppmtopgm {in} | pamtotga -mono > {out}", t, Netpbm());
}

TEST_F(CrossCheck, PcxWrittenByTheToolsLoads) {
    const DWORD t = CRaster::kTypePcx;
    CheckTheirs(kConvert + " {in} PCX:{out}", t, Magick("PCX"));
    CheckTheirs(kConvert + " {in} -type Palette PCX:{out}", t, Magick("PCX"));
    CheckTheirs(kConvert + " {in} -monochrome PCX:{out}", t, Magick("PCX"));
    CheckTheirs("ppmtopcx -24bit {in} > {out}", t, Magick("PCX"));
    CheckTheirs("pnmquant 200 {in} | ppmtopcx -8bit > {out}", t, Magick("PCX"));
    CheckTheirs("pnmquant 16 {in} | ppmtopcx > {out}", t, Magick("PCX"));
    CheckTheirs("pnmquant 16 {in} | ppmtopcx -packed > {out}", t, Magick("PCX"));
    CheckTheirs("pnmquant 4 {in} | ppmtopcx -packed > {out}", t, Magick("PCX"));
    CheckTheirs("pnmquant 8 {in} | ppmtopcx -planes 3 > {out}", t, Magick("PCX"));
}

TEST_F(CrossCheck, WbmpWrittenByTheToolsLoads) {
    CheckTheirs(kConvert + " {in} -monochrome WBMP:{out}", CRaster::kTypeWbmp, Magick("WBMP"));
    CheckTheirs("ppmtopgm {in} | pamthreshold | pamtopnm | pbmtowbmp > {out}", CRaster::kTypeWbmp,
                Magick("WBMP"));
}

TEST_F(CrossCheck, OurPicturesLoadInTheTools) {
    struct Reader {
        DWORD type;
        const char* format;
        std::vector<int> depths;
        std::string netpbm;
    };
    const Reader readers[] = {
        {CRaster::kTypeBmp, "BMP", {1, 4, 8, 24}, "bmptopnm {file}"},
        {CRaster::kTypePng, "PNG", {1, 4, 8, 24}, "pngtopnm {file} | ppmtoppm"},
        {CRaster::kTypeIco, "ICO", {1, 4, 8, 24}, "winicontopam {file} | pamtopnm | ppmtoppm"},
        {CRaster::kTypeTga, "TGA", {8, 24}, "tgatoppm {file}"},
        {CRaster::kTypePcx, "PCX", {1, 4, 8, 24}, "pcxtoppm {file}"},
    };
    for (const Reader& r : readers) {
        for (int bpp : r.depths) {
            CRaster image = TestPictures::Make(29, 17, bpp);
            if (bpp == 1 && r.type == CRaster::kTypePcx)
                image.SetGrayPalette();
            // This ImageMagick reads TGA rows upside down and one-bit PCX inverted (netpbm and
            // its own files agree with us), so those are checked against netpbm only.
            if (r.type != CRaster::kTypeTga && !(r.type == CRaster::kTypePcx && bpp == 1))
                CheckOurs(image, r.type, Magick(r.format));
            CheckOurs(image, r.type, {r.netpbm, ""});
        }
        CRaster withAlpha = TestPictures::Make(29, 17, 24);
        TestPictures::AddAlpha(withAlpha);
        CheckOurs(withAlpha, r.type,
                  r.type == CRaster::kTypeTga ? Netpbm(true) : Magick(r.format, true));
    }
    CRaster grey(29, 17, 8);
    grey.SetGrayPalette();
    for (DWORD y = 0; y < 17; ++y)
        for (DWORD x = 0; x < 29; ++x)
            grey.SetPixelIndex(LONG(x), LONG(y), BYTE(x * 8 + y));
    CheckOurs(grey, CRaster::kTypePng, Magick("PNG"));
    CheckOurs(grey, CRaster::kTypePng, {"pngtopnm {file} | ppmtoppm", ""});
    CRaster mono = TestPictures::Make(29, 17, 1);
    mono.SetGrayPalette();
    CheckOurs(mono, CRaster::kTypeWbmp, Magick("WBMP"));
    CheckOurs(mono, CRaster::kTypeWbmp, {"wbmptopbm {file} | ppmtoppm", ""});
    CRaster large = TestPictures::Make(300, 260, 24);
    CheckOurs(large, CRaster::kTypeIco, Magick("ICO"));
}

// Pictures that only the repaired readers make (wide GIF codes, clipped and cut-short GIF
// frames with their alpha, grey-and-alpha TGA, a transparent index raised to alpha) go out
// through every writer and read back in the tools as they are held here.
TEST_F(CrossCheck, RepairedPicturesGoThroughEveryWriter) {
    std::vector<std::pair<std::string, CRaster>> pictures;
    auto gif = [&](const std::string& name, int screenW, int screenH,
                   const std::vector<GifBytes::FrameSpec>& frames) {
        CRaster image;
        const auto bytes = GifBytes::MakeGif(screenW, screenH, frames);
        ASSERT_TRUE(image.DecodeFromMemory(bytes, CRaster::kTypeGif)) << name;
        pictures.emplace_back(name, image);
    };
    GifBytes::FrameSpec wide;
    wide.width = 23;
    wide.height = 11;
    wide.codeSize = 10;
    for (int i = 0; i < 23 * 11; ++i)
        wide.indices.push_back(static_cast<BYTE>(i * 5 % 256));
    gif("code size 10", 23, 11, {wide});
    GifBytes::FrameSpec over = wide;
    over.left = 9;
    over.top = 4;
    over.codeSize = 8;
    over.indices.resize(150); // cut short as well
    gif("clipped and cut short", 23, 11, {over});

    Bytes tga;
    tga.u8(0).u8(0).u8(3).u16(0).u16(0).u8(0).u16(0).u16(0).u16(9).u16(5).u8(16).u8(8);
    for (int i = 0; i < 45; ++i)
        tga.u8(i * 5).u8(i % 3 == 0 ? 0 : 255);
    CRaster grey;
    ASSERT_TRUE(grey.DecodeFromMemory(tga, CRaster::kTypeTga)) << grey.GetLastError();
    pictures.emplace_back("grey and alpha", grey);

    CRaster raised = TestPictures::Make(17, 9, 8);
    raised.SetPaletteColor(1, 255, 255, 255);
    raised.SetPaletteColor(2, 255, 255, 255);
    raised.SetTransparentIndex(1);
    ASSERT_TRUE(raised.IncreaseBpp(24));
    pictures.emplace_back("raised", raised);

    for (auto& [name, image] : pictures) {
        SCOPED_TRACE(name);
        const bool alpha = image.IsAlphaValid();
        CheckOurs(image, CRaster::kTypePng, Magick("PNG", alpha));
        CheckOurs(image, CRaster::kTypeBmp, Magick("BMP"));
        CheckOurs(image, CRaster::kTypePcx, Magick("PCX"));
        CheckOurs(image, CRaster::kTypeTga, Netpbm(alpha));
        CheckOurs(image, CRaster::kTypeIco, Magick("ICO"));
        if (image.IsIndexed())
            CheckOurs(image, CRaster::kTypeGif, Magick("GIF"));
    }
}

} // namespace
