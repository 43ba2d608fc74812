#include "image/core/CRaster.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

const std::array<LONG, 9> kMean3 = {1, 1, 1, 1, 1, 1, 1, 1, 1};
const std::array<LONG, 9> kLaplace = {0, 1, 0, 1, -4, 1, 0, 1, 0};

std::array<LONG, 25> Centre8() {
    std::array<LONG, 25> k;
    k.fill(1);
    k[12] = 8;
    return k;
}

// A 24-bit picture from grey levels given as rows from the top.
CRaster Grey(const std::vector<std::vector<int>>& rows) {
    const LONG height = LONG(rows.size()), width = LONG(rows[0].size());
    CRaster img(DWORD(width), DWORD(height), 24);
    for (LONG top = 0; top < height; ++top)
        for (LONG x = 0; x < width; ++x) {
            const BYTE v = BYTE(rows[std::size_t(top)][std::size_t(x)]);
            img.SetPixelColor(x, height - 1 - top, RGBQUAD::FromRgb(v, v, v));
        }
    return img;
}

int RedAt(const CRaster& img, LONG x, LONG top) {
    return img.GetPixelColor(x, LONG(img.GetHeight()) - 1 - top, false).rgbRed;
}

// Every channel of every pixel from a small generator, so that no two neighbours agree.
CRaster Noise(DWORD width, DWORD height, std::uint32_t seed) {
    CRaster img(width, height, 24);
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = img.GetBits(y);
        for (DWORD i = 0; i < width * 3; ++i) {
            seed = seed * 1664525u + 1013904223u;
            row[i] = BYTE(seed >> 24);
        }
    }
    return img;
}

bool SamePixels(const CRaster& a, const CRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp())
        return false;
    for (LONG y = 0; y < LONG(a.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(a.GetWidth()); ++x)
            if (a.GetPixelColor(x, y) != b.GetPixelColor(x, y))
                return false;
    return true;
}

// A folder of its own for one test, gone afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orlimber_filter_XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void WritePpm(const CRaster& img, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << img.GetWidth() << " " << img.GetHeight() << "\n255\n";
    for (LONG top = 0; top < LONG(img.GetHeight()); ++top)
        for (LONG x = 0; x < LONG(img.GetWidth()); ++x) {
            const RGBQUAD c = img.GetPixelColor(x, LONG(img.GetHeight()) - 1 - top, false);
            out.put(char(c.rgbRed)).put(char(c.rgbGreen)).put(char(c.rgbBlue));
        }
}

// The ImageMagick result as a picture of the same size, rows turned back to storage order.
bool ReadPpm(const std::string& path, CRaster& img) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    DWORD width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255 || !img.Create(width, height, 24))
        return false;
    for (LONG top = 0; top < LONG(height); ++top)
        for (LONG x = 0; x < LONG(width); ++x) {
            char rgb[3];
            if (!in.read(rgb, 3))
                return false;
            img.SetPixelColor(x, LONG(height) - 1 - top,
                              RGBQUAD::FromRgb(BYTE(rgb[0]), BYTE(rgb[1]), BYTE(rgb[2])));
        }
    return true;
}

bool HaveMagick() {
    return std::system("command -v convert-im6.q16 >/dev/null 2>&1") == 0;
}

// Runs ImageMagick with `operation` on the picture and reads its answer back.
CRaster Magick(const CRaster& picture, const std::string& operation) {
    TempFolder folder;
    WritePpm(picture, folder.File("in.ppm"));
    const std::string command = "convert-im6.q16 " + folder.File("in.ppm") + " " + operation +
                                " -depth 8 " + folder.File("out.ppm");
    CRaster result;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(ReadPpm(folder.File("out.ppm"), result));
    return result;
}

// Largest channel difference over the pixels whose k x k window lies inside the picture.
int InteriorDifference(const CRaster& ours, const CRaster& theirs, LONG k) {
    int worst = 0;
    const LONG h = k / 2;
    for (LONG y = h; y + k - h - 1 < LONG(ours.GetHeight()); ++y)
        for (LONG x = h; x + k - h - 1 < LONG(ours.GetWidth()); ++x) {
            const RGBQUAD a = ours.GetPixelColor(x, y, false);
            const RGBQUAD b = theirs.GetPixelColor(x, y, false);
            worst = std::max({worst, std::abs(a.rgbRed - b.rgbRed),
                              std::abs(a.rgbGreen - b.rgbGreen), std::abs(a.rgbBlue - b.rgbBlue)});
        }
    return worst;
}

} // namespace

TEST(RasterFilter, MeanKernelAveragesOverThePixelsInside) {
    CRaster flat = Grey({{90, 90, 90, 90}, {90, 90, 90, 90}, {90, 90, 90, 90}});
    ASSERT_TRUE(flat.ApplyConvolution(kMean3, 3, 9, 0));
    for (LONG top : {0, 2})
        for (LONG x : {0, 3})
            EXPECT_EQ(RedAt(flat, x, top), 90) << x << "," << top;

    // Every window of a 2 x 2 picture holds its four pixels: 100 x 9 / (9 x 4).
    CRaster square = Grey({{10, 20}, {30, 40}});
    ASSERT_TRUE(square.ApplyConvolution(kMean3, 3, 9, 0));
    for (LONG top : {0, 1})
        for (LONG x : {0, 1})
            EXPECT_EQ(RedAt(square, x, top), 25);
}

TEST(RasterFilter, ZeroSumKernelGivesOffsetPlusSumAtTheBorderToo) {
    CRaster flat = Grey({{20, 20, 20}, {20, 20, 20}, {20, 20, 20}});
    ASSERT_TRUE(flat.ApplyConvolution(kLaplace, 3, 1, 128));
    EXPECT_EQ(RedAt(flat, 1, 1), 128);
    // A corner sees the centre and two of the four arms: 20 x (-4 + 2).
    EXPECT_EQ(RedAt(flat, 0, 0), 88);
    EXPECT_EQ(RedAt(flat, 2, 2), 88);
    // An edge pixel sees three arms.
    EXPECT_EQ(RedAt(flat, 1, 0), 108);
}

TEST(RasterFilter, ConvolutionClampsAndUsesTheSignedTotal) {
    // Sharpening: total 1, the results leave 0..255 on both sides.
    const std::array<LONG, 9> sharpen = {0, -1, 0, -1, 5, -1, 0, -1, 0};
    CRaster img = Grey({{0, 0, 0}, {0, 250, 0}, {0, 0, 0}});
    ASSERT_TRUE(img.ApplyConvolution(sharpen, 3, 1, 0));
    EXPECT_EQ(RedAt(img, 1, 1), 255);
    EXPECT_EQ(RedAt(img, 1, 0), 0);
    // Weights far beyond 32 bits of sum still come out right.
    const std::array<LONG, 1> huge = {0x7FFFFFFF};
    CRaster one = Grey({{3}});
    ASSERT_TRUE(one.ApplyConvolution(huge, 1, 0x7FFFFFFF, 7));
    EXPECT_EQ(RedAt(one, 0, 0), 10);
}

TEST(RasterFilter, BadArgumentsAndTheEscapeFlagLeaveThePictureAlone) {
    const CRaster before = Noise(9, 7, 3);
    CRaster img = before;
    EXPECT_FALSE(img.ApplyConvolution(kMean3, 0, 9, 0));
    EXPECT_FALSE(img.ApplyConvolution(kMean3, 4, 9, 0)); // 16 weights asked, 9 given
    EXPECT_FALSE(img.ApplyMedian(0));
    EXPECT_FALSE(img.ApplyMedian(256));
    img.SetEscape(1);
    CrtRandom random;
    EXPECT_FALSE(img.ApplyMedian(3));
    EXPECT_FALSE(img.ApplyConvolution(kMean3, 3, 9, 0));
    EXPECT_FALSE(img.ApplyContour());
    EXPECT_FALSE(img.ApplyJitter(3, random));
    EXPECT_TRUE(SamePixels(img, before));
    CRaster empty;
    EXPECT_FALSE(empty.ApplyContour());
}

TEST(RasterFilter, MedianRemovesALonePixelAndKeepsItsAlpha) {
    CRaster img = Grey({{0, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    ASSERT_TRUE(img.CreateAlpha());
    img.SetAlpha(1, 2, 9);
    ASSERT_TRUE(img.ApplyMedian(3));
    for (LONG y = 0; y < 4; ++y)
        for (LONG x = 0; x < 4; ++x)
            EXPECT_EQ(img.GetPixelColor(x, y, false), RGBQUAD()) << x << "," << y;
    // The white pixel's alpha went with it; its neighbours took opaque black.
    EXPECT_EQ(img.GetAlpha(1, 2), 255);

    // Ties keep window order: red, blue and green of equal luminance (29); count / 2 picks
    // the second of each window.
    const RGBQUAD red = RGBQUAD::FromRgb(98, 0, 0), blue = RGBQUAD::FromRgb(0, 0, 255),
                  green = RGBQUAD::FromRgb(0, 50, 0);
    CRaster ties(3, 1, 24);
    ties.SetPixelColor(0, 0, red);
    ties.SetPixelColor(1, 0, blue);
    ties.SetPixelColor(2, 0, green);
    ASSERT_TRUE(ties.ApplyMedian(3));
    EXPECT_EQ(ties.GetPixelColor(0, 0, false), blue);
    EXPECT_EQ(ties.GetPixelColor(1, 0, false), blue);
    EXPECT_EQ(ties.GetPixelColor(2, 0, false), green);
}

TEST(RasterFilter, ContourKeepsTheBrighterNeighbourAndInverts) {
    CRaster row = Grey({{0, 200, 0}});
    ASSERT_TRUE(row.ApplyContour());
    EXPECT_EQ(RedAt(row, 0, 0), 55);
    EXPECT_EQ(RedAt(row, 1, 0), 255);
    EXPECT_EQ(RedAt(row, 2, 0), 55);
    // The value kept is a neighbour's level, and later rises are measured against it: around
    // 90, the 100 on the left is kept and the rise of 90 to 180 does not exceed it.
    CRaster steps = Grey({{100, 90, 180}});
    ASSERT_TRUE(steps.ApplyContour());
    EXPECT_EQ(RedAt(steps, 1, 0), 155);
    EXPECT_EQ(RedAt(steps, 0, 0), 255);
    EXPECT_EQ(RedAt(steps, 2, 0), 255);
}

TEST(RasterFilter, JitterTakesPixelsFromWithinTheRadius) {
    // Blue and green tell each pixel's own position.
    CRaster img(40, 30, 24);
    for (LONG y = 0; y < 30; ++y)
        for (LONG x = 0; x < 40; ++x)
            img.SetPixelColor(x, y, RGBQUAD::FromRgb(7, BYTE(y), BYTE(x)));
    const CRaster before = img;
    CrtRandom random;
    ASSERT_TRUE(img.ApplyJitter(0, random));
    EXPECT_TRUE(SamePixels(img, before));
    EXPECT_NE(random.State(), 1u); // the numbers are drawn all the same

    CrtRandom first, second;
    CRaster again = before;
    ASSERT_TRUE(img.ApplyJitter(3, first));
    ASSERT_TRUE(again.ApplyJitter(3, second));
    EXPECT_TRUE(SamePixels(img, again));
    int moved = 0;
    for (LONG y = 0; y < 30; ++y)
        for (LONG x = 0; x < 40; ++x) {
            const RGBQUAD c = img.GetPixelColor(x, y, false);
            EXPECT_LE(std::abs(c.rgbBlue - x), 3);
            EXPECT_LE(std::abs(c.rgbGreen - y), 3);
            moved += c.rgbBlue != x || c.rgbGreen != y;
        }
    EXPECT_GT(moved, 40 * 30 / 2);

    // Offsets far outside keep each pixel where it is.
    CRaster far = before;
    ASSERT_TRUE(far.ApplyJitter(std::numeric_limits<LONG>::min(), random));
    EXPECT_TRUE(SamePixels(far, before));
}

TEST(RasterFilter, OnlySelectedPixelsChange) {
    const CRaster before = Noise(12, 10, 5);
    CrtRandom random;
    for (int filter = 0; filter < 4; ++filter) {
        CRaster img = before;
        ASSERT_TRUE(img.CreateSelection());
        for (LONG y = 2; y < 8; ++y)
            for (LONG x = 3; x < 9; ++x)
                if ((x + y) % 3 != 0)
                    img.SetSelectionByte(x, y, 255);
        switch (filter) {
        case 0:
            ASSERT_TRUE(img.ApplyConvolution(kMean3, 3, 9, 0));
            break;
        case 1:
            ASSERT_TRUE(img.ApplyMedian(3));
            break;
        case 2:
            ASSERT_TRUE(img.ApplyContour());
            break;
        default:
            ASSERT_TRUE(img.ApplyJitter(2, random));
        }
        int changed = 0;
        for (LONG y = 0; y < 10; ++y)
            for (LONG x = 0; x < 12; ++x) {
                const bool same = img.GetPixelColor(x, y) == before.GetPixelColor(x, y);
                if (!img.IsInsideSelection(x, y)) {
                    EXPECT_TRUE(same) << "filter " << filter << " at " << x << "," << y;
                }
                changed += !same;
            }
        EXPECT_GT(changed, 10) << "filter " << filter;
        EXPECT_TRUE(img.IsSelectionValid());
    }
}

TEST(RasterFilter, GreyRampsAreFilteredOnTheirIndexesOtherPalettesOnColours) {
    CRaster grey(3, 1, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(0, 0, 30);
    grey.SetPixelIndex(1, 0, 60);
    grey.SetPixelIndex(2, 0, 91);
    const std::array<LONG, 1> twice = {2};
    ASSERT_TRUE(grey.ApplyConvolution(twice, 1, 1, 1));
    EXPECT_EQ(grey.GetPixelIndex(0, 0), 61);
    EXPECT_EQ(grey.GetPixelIndex(2, 0), 183);

    // A 4-bit standard palette: the mean of white and black is a grey the palette holds.
    CRaster colours(2, 1, 4);
    colours.SetStdPalette();
    colours.SetPixelIndex(0, 0, 15);
    colours.SetPixelIndex(1, 0, 0);
    const std::array<LONG, 4> both = {1, 1, 1, 1};
    ASSERT_TRUE(colours.ApplyConvolution(both, 2, 4, 0));
    // Window of x is x - 1 .. x: the left pixel keeps white, the right one averages to 127,
    // nearest to the palette's 128 grey.
    EXPECT_EQ(colours.GetPixelIndex(0, 0), 15);
    EXPECT_EQ(colours.GetPixelIndex(1, 0), 8);
}

TEST(RasterFilter, KernelsAndMedianAgreeWithImageMagickInside) {
    if (!HaveMagick())
        GTEST_SKIP() << "ImageMagick missing";
    const CRaster picture = Noise(37, 29, 11);

    CRaster mean = picture;
    ASSERT_TRUE(mean.ApplyConvolution(kMean3, 3, 9, 0));
    // We truncate, ImageMagick rounds.
    EXPECT_LE(
        InteriorDifference(mean,
                           Magick(picture, "-define convolve:scale=! -morphology Convolve 3x3:" +
                                               std::string("1,1,1,1,1,1,1,1,1")),
                           3),
        1);

    CRaster centre = picture;
    const auto k5 = Centre8();
    ASSERT_TRUE(centre.ApplyConvolution(k5, 5, 32, 0));
    std::string weights;
    for (LONG w : k5)
        weights.append(weights.empty() ? "" : ",").append(std::to_string(w));
    EXPECT_LE(InteriorDifference(centre,
                                 Magick(picture, "-define convolve:scale=! -morphology Convolve "
                                                 "5x5:" +
                                                     weights),
                                 5),
              1);

    // On grey pixels luminance is the level, so the medians must agree exactly.
    CRaster grey(37, 29, 24);
    for (LONG y = 0; y < 29; ++y)
        for (LONG x = 0; x < 37; ++x) {
            const BYTE v = picture.GetPixelColor(x, y, false).rgbGreen;
            grey.SetPixelColor(x, y, RGBQUAD::FromRgb(v, v, v));
        }
    CRaster median = grey;
    ASSERT_TRUE(median.ApplyMedian(3));
    EXPECT_EQ(InteriorDifference(median, Magick(grey, "-statistic Median 3x3"), 3), 0);
}
