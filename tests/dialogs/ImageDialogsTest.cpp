#include "dialogs/BitmapSetup.h"
#include "dialogs/CImageFilter.h"
#include "dialogs/CImageSettingsDialog.h"

#include <gtest/gtest.h>

namespace {

// Red follows the column and green the row from the top, so every crop tells where it came
// from.
CRaster Gradient(DWORD width, DWORD height) {
    CRaster img(width, height, 24);
    for (LONG y = 0; y < LONG(height); ++y)
        for (LONG x = 0; x < LONG(width); ++x)
            img.SetPixelColor(x, y, RGBQUAD::FromRgb(BYTE(x), BYTE(height - 1 - y), 200));
    return img;
}

bool SamePixels(const CRaster& a, const CRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (LONG y = 0; y < LONG(a.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(a.GetWidth()); ++x)
            if (a.GetPixelColor(x, y, false) != b.GetPixelColor(x, y, false))
                return false;
    return true;
}

RGBQUAD TopLeftColour(const CRaster& img, LONG x, LONG top) {
    return img.GetPixelColor(x, LONG(img.GetHeight()) - 1 - top, false);
}

} // namespace

TEST(BitmapSetupValues, RefusesSidesAndCountsOutsideTheirRangesAndChangesNothing) {
    BitmapSetup setup;
    setup.x = 1024;
    setup.y = 768;
    setup.numberOfMazes = 1;
    const BitmapSetup::Controls shown = setup.ToControls();
    EXPECT_EQ(shown.x, "1024");
    EXPECT_EQ(shown.count, "1");

    struct Case {
        BitmapSetup::Controls controls;
        int control;
        const char* message;
    } cases[] = {
        {{"0", "768", true, "1"},
         BitmapSetup::kXId,
         "Please enter an integer between 1 and 16384."},
        {{"16385", "768", true, "1"}, BitmapSetup::kXId, nullptr},
        {{"800", "-3", true, "1"}, BitmapSetup::kYId, nullptr},
        {{"800", "600", true, "0"},
         BitmapSetup::kCountId,
         "Please enter an integer between 1 and 999."},
        {{"800", "600", true, "1000"}, BitmapSetup::kCountId, nullptr},
        {{"800", "6x0", true, "1"}, BitmapSetup::kYId, "Please enter an integer."},
        {{"99999999999", "600", true, "1"},
         BitmapSetup::kXId,
         "Please enter an integer between 1 and 16384."},
    };
    for (const Case& c : cases) {
        const auto error = setup.FromControls(c.controls);
        ASSERT_TRUE(error) << c.controls.x << " " << c.controls.y << " " << c.controls.count;
        EXPECT_EQ(error->controlId, c.control);
        if (c.message) {
            EXPECT_EQ(error->message, c.message);
        }
        EXPECT_EQ(setup.x, 1024);
        EXPECT_EQ(setup.y, 768);
        EXPECT_EQ(setup.screenResolution, 0);
        EXPECT_EQ(setup.numberOfMazes, 1);
    }

    // A read-only count is still checked.
    setup.countReadOnly = 1;
    setup.numberOfMazes = 0;
    EXPECT_FALSE(setup.CountEditable());
    ASSERT_TRUE(setup.FromControls(setup.ToControls()));

    ASSERT_FALSE(setup.FromControls({" 16384", "1 ", true, "999"}));
    EXPECT_EQ(setup.x, 16384);
    EXPECT_EQ(setup.y, 1);
    EXPECT_EQ(setup.screenResolution, 1);
    EXPECT_EQ(setup.numberOfMazes, 999);
}

TEST(ImageSettingsValues, LabelsShowSizeDepthTransparencyAndPercent) {
    CImageSettingsDialog dialog;
    dialog.picture = Gradient(100, 80);
    const std::pair<int, const char*> percents[] = {
        {0, "0%"}, {127, "49%"}, {128, "50%"}, {255, "100%"}};
    for (const auto& [opacity, text] : percents) {
        dialog.opacity = opacity;
        EXPECT_EQ(dialog.PercentText(), text);
    }
    EXPECT_EQ(dialog.WideText(), "WIDE:  100 Pixels");
    EXPECT_EQ(dialog.HighText(), "HIGH:   80 Pixels");
    EXPECT_EQ(dialog.BppText(), "BPP:    24 bits/Pixel");
    EXPECT_EQ(dialog.TransparencyText(), "NON-TRANSPARENT");
    CRaster palette(4, 4, 8);
    palette.SetTransparentIndex(3);
    dialog.picture = palette;
    EXPECT_EQ(dialog.TransparencyText(), "TRANSPARENCY SET");
    dialog.SetOpacity(400);
    EXPECT_EQ(dialog.opacity, 255);
    dialog.SetOpacity(-1);
    EXPECT_EQ(dialog.opacity, 0);
}

TEST(ImageSettingsValues, PreviewStretchesThePictureAndBlendsByTheOpacity) {
    CImageSettingsDialog dialog;
    dialog.picture = Gradient(100, 80);
    dialog.SetOpacity(255);
    ASSERT_EQ(dialog.preview.GetWidth(), 250u);
    ASSERT_EQ(dialog.preview.GetHeight(), 200u);
    // Opaque: the picture's corners reach the preview's corners (2.5 times larger).
    EXPECT_EQ(TopLeftColour(dialog.preview, 0, 0), RGBQUAD::FromRgb(0, 0, 200));
    EXPECT_EQ(TopLeftColour(dialog.preview, 249, 199), RGBQUAD::FromRgb(99, 79, 200));
    EXPECT_EQ(TopLeftColour(dialog.preview, 125, 100), RGBQUAD::FromRgb(50, 40, 200));

    // Clear: only the background shows, and it covers the whole preview.
    dialog.SetOpacity(0);
    CImageSettingsDialog empty;
    ASSERT_TRUE(empty.UpdatePreview());
    EXPECT_TRUE(SamePixels(dialog.preview, empty.preview));
    int notWhite = 0;
    for (LONG y = 0; y < 200; ++y)
        for (LONG x = 0; x < 250; ++x)
            notWhite += empty.preview.GetPixelColor(x, y, false) != RGBQUAD::FromRgb(255, 255, 255);
    EXPECT_GT(notWhite, 500);

    // Half: between the two.
    dialog.SetOpacity(128);
    const RGBQUAD half = TopLeftColour(dialog.preview, 125, 100);
    const RGBQUAD under = TopLeftColour(empty.preview, 125, 100);
    EXPECT_NEAR(half.rgbRed, (50 * 128 + under.rgbRed * 127) >> 8, 1);

    // A palette picture without palette alpha still shows.
    CRaster indexed(10, 10, 8);
    indexed.SetStdPalette();
    indexed.Clear(249); // pure red
    dialog.picture = indexed;
    dialog.SetOpacity(255);
    EXPECT_EQ(TopLeftColour(dialog.preview, 10, 10), RGBQUAD::FromRgb(255, 0, 0));
}

TEST(ImageFilterValues, OutputGoesThroughTheFixedChainAndPreviewsAreCrops) {
    CImageFilter dialog;
    dialog.input = Gradient(400, 500);
    dialog.input.SetPixelColor(10, 480, RGBQUAD::FromRgb(255, 255, 255));
    ASSERT_TRUE(dialog.Prepare());
    EXPECT_EQ(dialog.inputPreview.GetWidth(), 325u);
    EXPECT_EQ(dialog.inputPreview.GetHeight(), 420u);
    EXPECT_EQ(TopLeftColour(dialog.inputPreview, 10, 19), RGBQUAD::FromRgb(255, 255, 255));
    EXPECT_EQ(dialog.output.GetWidth(), 400u);
    CRaster chained = dialog.input;
    ASSERT_TRUE(CImageFilter::ApplyFixedChain(chained));
    EXPECT_TRUE(SamePixels(dialog.output, chained));
    EXPECT_NE(TopLeftColour(dialog.outputPreview, 10, 19), RGBQUAD::FromRgb(255, 255, 255));

    // Each page previews its own filter on the input's crop.
    CRaster crop;
    ASSERT_TRUE(dialog.input.Crop(0, 0, 325, 420, &crop));
    dialog.tabs.Median().kernelSize = 3;
    ASSERT_TRUE(dialog.Preview());
    CRaster median = crop;
    ASSERT_TRUE(median.ApplyMedian(3));
    EXPECT_TRUE(SamePixels(dialog.outputPreview, median));

    ASSERT_TRUE(dialog.tabs.Select(CFilterTabCtrl::kCircleTransform));
    ASSERT_TRUE(dialog.Preview());
    const CRaster first = dialog.outputPreview;
    ASSERT_TRUE(dialog.Preview());
    EXPECT_TRUE(SamePixels(dialog.outputPreview, first)); // repeats exactly
    EXPECT_FALSE(SamePixels(first, crop));

    EXPECT_FALSE(dialog.tabs.Select(3));
    EXPECT_FALSE(dialog.tabs.Select(CFilterTabCtrl::kCircleTransform));
    EXPECT_STREQ(CFilterTabCtrl::TabText(1), "Contour");
}

TEST(ImageFilterValues, MedianPageRefusesSizesOutsideItsRange) {
    CDFilterMedian page;
    EXPECT_EQ(page.KernelText(), "3");
    auto error = page.TakeKernelText("0");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->controlId, CDFilterMedian::kKernelSizeId);
    EXPECT_EQ(error->message, "Please enter an integer between 1 and 255.");
    EXPECT_TRUE(page.TakeKernelText("256"));
    EXPECT_EQ(page.kernelSize, 3);
    EXPECT_FALSE(page.TakeKernelText("7"));
    EXPECT_EQ(page.kernelSize, 7);

    // A small picture and an empty one.
    CImageFilter dialog;
    dialog.input = Gradient(5, 4);
    ASSERT_TRUE(dialog.Prepare());
    EXPECT_EQ(dialog.outputPreview.GetWidth(), 5u);
    CImageFilter nothing;
    EXPECT_FALSE(nothing.Prepare());
    EXPECT_FALSE(nothing.Preview());
}
