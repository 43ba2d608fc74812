// Our pictures of metafiles against the independent converters (libwmf's wmf2svg and
// emf2svg) rendered by rsvg-convert, compared as averages of 8 x 8 blocks: edges differ by
// antialiasing, so only the blocks, not single pixels, must agree.
#include "ExternalTools.h"
#include "MetafileBuilder.h"

#include "image/core/CRaster.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kBlock = 8;

class MetafileCrossCheck : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool :
             {"wmf2svg", "wmf2gd", "emf2svg-conv", "rsvg-convert", "convert-im6.q16"}) {
            if (!ExternalTools::Have(tool))
                GTEST_SKIP() << tool << " missing (scripts/setup.sh installs it)";
        }
        folder_.emplace("codecs");
        dir_ = folder_->Path().string();
    }

    // Converts with `tool` ({in}, {out}) to SVG, or to PNG when `raster`, and brings that to
    // our picture's size.
    void Compare(const std::vector<BYTE>& file, const std::string& tool, bool raster = false) {
        CRaster ours;
        ASSERT_TRUE(ours.DecodeFromMemory(file, CRaster::kTypeWmf)) << ours.GetLastError();
        const std::string in = dir_ + "/in", svg = dir_ + (raster ? "/out.png" : "/out.svg");
        ExternalTools::WriteFile(in, file);
        std::string command = tool;
        command.replace(command.find("{in}"), 4, in);
        command.replace(command.find("{out}"), 5, svg);
        ASSERT_TRUE(ExternalTools::Run(command + " >/dev/null")) << command;
        const std::string size =
            std::to_string(ours.GetWidth()) + "x" + std::to_string(ours.GetHeight());
        const auto ppm = ExternalTools::Run(
            raster ? "convert-im6.q16 " + svg + " -resize " + size + "! -alpha off ppm:-"
                   : "rsvg-convert -b white -w " + std::to_string(ours.GetWidth()) + " -h " +
                         std::to_string(ours.GetHeight()) + " " + svg +
                         " | convert-im6.q16 png:- -alpha off ppm:-");
        ASSERT_TRUE(ppm);
        const auto theirs = ExternalTools::ParsePnm(*ppm);
        ASSERT_TRUE(theirs);
        ASSERT_EQ(theirs->width, ours.GetWidth());
        ASSERT_EQ(theirs->height, ours.GetHeight());
        double worst = 0, sum = 0;
        int blocks = 0;
        for (DWORD by = 0; by + kBlock <= theirs->height; by += kBlock) {
            for (DWORD bx = 0; bx + kBlock <= theirs->width; bx += kBlock) {
                int diff[3] = {};
                for (DWORD y = by; y < by + kBlock; ++y) {
                    for (DWORD x = bx; x < bx + kBlock; ++x) {
                        const RGBQUAD c =
                            ours.GetPixelColor(LONG(x), LONG(theirs->height - 1 - y), false);
                        diff[0] += c.rgbRed - theirs->Red(x, y);
                        diff[1] += c.rgbGreen - theirs->Green(x, y);
                        diff[2] += c.rgbBlue - theirs->Blue(x, y);
                    }
                }
                const double d = (std::abs(diff[0]) + std::abs(diff[1]) + std::abs(diff[2])) /
                                 (3.0 * kBlock * kBlock);
                worst = std::max(worst, d);
                sum += d;
                ++blocks;
            }
        }
        // A raster tool's picture is resized from its own size, so its edges shift further.
        EXPECT_LT(worst, raster ? 140.0 : 40.0) << tool;
        EXPECT_LT(sum / blocks, 6.0) << tool; // emf2svg also outlines shapes drawn without a pen
    }

    std::optional<TempFolder> folder_;
    std::string dir_;
};

TEST_F(MetafileCrossCheck, PlaceableMetafileAgreesWithWmf2svg) {
    // 1440 units an inch: the picture is 192 x 128 pixels, each unit 1/15 pixel. libwmf names
    // colours, so only colours with SVG names are used.
    WmfBuilder b;
    b.WindowOrg(0, 0).WindowExt(2880, 1920);
    b.Pen(5, 0, 0).Brush(0, RGB(255, 255, 0)).Select(0).Select(1);
    b.Rectangle(0, 0, 2880, 1920); // libwmf scales its own bounds; this makes them the box's
    b.Brush(0, RGB(255, 0, 0)).Select(2).Rectangle(120, 120, 1200, 720);
    b.Brush(0, RGB(0, 0, 255)).Select(3).Ellipse(1440, 120, 2760, 1080);
    b.Brush(0, RGB(0, 255, 0)).Select(4).Polygon({120, 960, 1320, 960, 120, 1800});
    b.Pen(0, 60, RGB(128, 0, 128)).Select(5);
    b.Record(0x0214, {1200, 1440}).Record(0x0213, {1800, 2760}); // MoveTo, LineTo
    Compare(b.Finish(0, 0, 2880, 1920, 1440), "wmf2svg -o {out} {in}");
}

TEST_F(MetafileCrossCheck, EnhancedMetafileAgreesWithEmf2svg) {
    EmfBuilder e;
    e.Pen(1, 5, 0, 0).Brush(2, 0, RGB(255, 0, 0)).Select(1).Select(2);
    e.Rectangle(8, 8, 80, 48);
    e.Brush(3, 0, RGB(0, 128, 255)).Select(3).Ellipse(96, 8, 184, 72);
    e.Brush(4, 0, RGB(0, 160, 0)).Select(4);
    // The hole runs the other way round, so that it is one under either fill rule.
    e.Record(8, {0,  0,   0, 0,   2,  8,  4,  4,   8,  64,  88, 64,
                 88, 120, 8, 120, 32, 80, 32, 104, 64, 104, 64, 80});
    e.Pen(5, 0, 1, RGB(80, 0, 120)).Select(5);
    e.Poly(4, {100, 120, 180, 90, 120, 80});
    e.Poly(2, {100, 100, 130, 60, 160, 140, 184, 100});
    Compare(e.Finish(0, 0, 192, 128), "emf2svg-conv -i {in} -o {out}");
}

// Arcs: the radials and the way round must agree. (libwmf's pies and chords are drawn
// wrongly by both its outputs; the enhanced test below checks ours.)
TEST_F(MetafileCrossCheck, PlaceableArcsAgreeWithWmf2gd) {
    WmfBuilder b;
    b.WindowOrg(0, 0).WindowExt(2880, 1920);
    b.Pen(5, 0, 0).Brush(0, RGB(255, 255, 0)).Select(0).Select(1).Rectangle(0, 0, 2880, 1920);
    b.Pen(0, 60, RGB(0, 128, 0)).Select(2);
    b.Record(0x0817, {1800, 200, 1100, 1400, 1800, 1400, 1000, 100}); // along the bottom
    b.Pen(0, 60, RGB(0, 0, 255)).Select(3);
    b.Record(0x0817, {100, 2700, 900, 1500, 900, 2700, 100, 1500}); // over the top
    // wmf2svg misplaces arcs; libwmf's own raster output draws them.
    Compare(b.Finish(0, 0, 2880, 1920, 1440), "wmf2gd -t png -o {out} {in}", true);
}

TEST_F(MetafileCrossCheck, EnhancedArcsAgreeWithEmf2svg) {
    EmfBuilder e;
    e.Pen(1, 0, 1, 0).Brush(2, 0, RGB(255, 0, 0)).Select(1).Select(2);
    e.Record(47, {8, 8, 88, 88, 88, 8, 8, 48}); // pie
    e.Brush(3, 0, RGB(0, 128, 255)).Select(3);
    e.Record(46, {100, 8, 184, 72, 184, 72, 100, 8}); // chord
    e.Pen(4, 0, 1, RGB(0, 160, 0)).Select(4);
    e.Record(45, {8, 90, 88, 124, 8, 107, 88, 107});                              // arc
    e.Record(27, {120, 102}).Record(55, {120, 80, 180, 124, 120, 102, 180, 102}); // arc-to
    Compare(e.Finish(0, 0, 192, 128), "emf2svg-conv -i {in} -o {out}");
}

// Wide geometric pens draw their dots (dash lengths are each renderer's own: emf2svg's are
// five widths on and off, ours three on and one off).
TEST_F(MetafileCrossCheck, EnhancedWideDotsAgreeWithEmf2svg) {
    EmfBuilder e;
    // Geometric, flat ends, dotted, solid brushes in dark red and dark blue.
    e.Record(95, {1, 0, 0, 0, 0, 0x00010202, 8, 0, LONG(RGB(160, 0, 0)), 0, 0}).Select(1);
    e.Poly(4, {8, 40, 184, 40});
    e.Record(95, {2, 0, 0, 0, 0, 0x00010202, 12, 0, LONG(RGB(0, 0, 160)), 0, 0}).Select(2);
    e.Poly(4, {8, 90, 184, 90});
    Compare(e.Finish(0, 0, 192, 128), "emf2svg-conv -i {in} -o {out}");
}

} // namespace
