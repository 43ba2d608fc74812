#include "image/core/CRaster.h"
#include "platform/CDC.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr COLORREF kBackground = RGB(10, 20, 30);

// A memory context over a bitmap painted in kBackground.
struct Target {
    explicit Target(int width = 20, int height = 12) {
        bitmap.CreateBitmap32(width, height);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, kBackground);
    }
    COLORREF At(int x, int y) {
        dc.Flush();
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bitmap.Bits() + y * bitmap.Stride());
        return RasterSurface::ToColor(row[x]);
    }
    int Painted() {
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += At(x, y) != kBackground;
        return n;
    }

    CBitmap bitmap;
    CDC dc;
};

// Red = 20 x column, green = 20 x picture row counted from the top.
CRaster Picture(DWORD width, DWORD height) {
    CRaster img(width, height, 24);
    for (LONG y = 0; y < LONG(height); ++y)
        for (LONG x = 0; x < LONG(width); ++x)
            img.SetPixelColor(x, LONG(height) - 1 - y,
                              RGBQUAD::FromRgb(BYTE(20 * x), BYTE(20 * y), 99));
    return img;
}

COLORREF Ref(const CRaster& img, LONG x, LONG yFromTop) {
    return img.GetPixelColor(x, LONG(img.GetHeight()) - 1 - yFromTop, false).ToColorRef();
}

int Mix(int sample, int background, int a) {
    return (sample * a + background * (255 - a)) >> 8;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

} // namespace

TEST(RasterDraw, NothingHappensWithoutPictureSizeOrWhileDisabled) {
    Target t;
    CRaster empty;
    EXPECT_EQ(empty.Draw(t.dc, 0, 0), 0);
    CRaster img = Picture(3, 2);
    EXPECT_EQ(img.Draw(t.dc, 0, 0, 0, 5), 0);
    img.Info().enabled = false;
    EXPECT_EQ(img.Draw(t.dc, 0, 0), 0);
    EXPECT_EQ(img.DrawLogical(t.dc, 0, 0, 5, 5), 0);
    CDC unattached;
    img.Info().enabled = true;
    EXPECT_EQ(img.Draw(unattached, 0, 0), 0);
    EXPECT_EQ(t.Painted(), 0);
    // Wholly clipped away still counts as drawn.
    EXPECT_EQ(img.Draw(t.dc, 100, 100), 1);
    EXPECT_EQ(t.Painted(), 0);
}

TEST(RasterDraw, UnscaledPicturesOfEveryDepthLandUpright) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        CRaster img = Picture(5, 3);
        if (bpp < 24)
            img.DecreaseBpp(bpp, false);
        Target t;
        ASSERT_EQ(img.Draw(t.dc, 2, 4), 1);
        for (LONG y = 0; y < 3; ++y)
            for (LONG x = 0; x < 5; ++x)
                ASSERT_EQ(t.At(2 + x, 4 + y), Ref(img, x, y)) << x << "," << y;
        EXPECT_EQ(t.At(1, 4), kBackground);
        EXPECT_EQ(t.At(7, 4), kBackground);
        EXPECT_EQ(t.At(2, 7), kBackground);
    }
}

TEST(RasterDraw, ClippingCutsTheVisiblePartOnly) {
    const CRaster img = Picture(14, 3);
    Target t;
    // The context's own edge: from column 10 of the picture onwards.
    ASSERT_EQ(img.Draw(t.dc, -10, 0), 1);
    EXPECT_EQ(t.At(0, 0), Ref(img, 10, 0));
    EXPECT_EQ(t.At(3, 2), Ref(img, 13, 2));
    EXPECT_EQ(t.At(4, 0), kBackground);

    Target u;
    const RECT clip{3, 1, 5, 20};
    ASSERT_EQ(img.Draw(u.dc, 0, 0, -1, -1, &clip), 1);
    EXPECT_EQ(u.Painted(), 4);
    EXPECT_EQ(u.At(3, 1), Ref(img, 3, 1));
    // The context's clip is left as it was.
    RECT box;
    u.dc.GetClipBox(&box);
    EXPECT_EQ(box.right, 20);

    Target v;
    v.dc.IntersectClipRect(0, 0, 2, 2);
    ASSERT_EQ(img.Draw(v.dc, 0, 0), 1);
    EXPECT_EQ(v.Painted(), 4);
}

TEST(RasterDraw, TransparentColourAndIndexLeaveTheBackground) {
    CRaster img = Picture(4, 2);
    img.SetPixelColor(1, 1, RGBQUAD::FromRgb(255, 255, 255));
    img.SetTransparentIndex(0);
    img.SetTransparentColor(RGBQUAD::FromRgb(255, 255, 255));
    Target t;
    img.Draw(t.dc, 0, 0);
    EXPECT_EQ(t.At(1, 0), kBackground);
    EXPECT_EQ(t.At(0, 0), Ref(img, 0, 0));
    EXPECT_EQ(t.Painted(), 7);

    CRaster pal(3, 1, 4);
    pal.SetStdPalette();
    pal.SetPixelIndex(0, 0, 2);
    pal.SetPixelIndex(1, 0, 5);
    pal.SetPixelIndex(2, 0, 2);
    pal.SetTransparentIndex(2);
    Target u;
    pal.Draw(u.dc, 0, 0, 6, 2, nullptr, true); // also when smoothing
    EXPECT_EQ(u.Painted(), 4);
    EXPECT_NE(u.At(2, 1), kBackground);
    EXPECT_EQ(u.At(0, 0), kBackground);
}

TEST(RasterDraw, AlphaBlendsByPlaneMaximumAndPalette) {
    CRaster img(2, 1, 24);
    img.SetPixelColor(0, 0, RGBQUAD::FromRgb(200, 100, 0));
    img.SetPixelColor(1, 0, RGBQUAD::FromRgb(200, 100, 0));
    img.CreateAlpha();
    img.SetAlphaLevel(128);
    img.SetAlpha(1, 0, 255);
    Target t;
    img.Draw(t.dc, 0, 0);
    EXPECT_EQ(t.At(0, 0), RGB(Mix(200, 10, 128), Mix(100, 20, 128), Mix(0, 30, 128)));
    EXPECT_EQ(t.At(1, 0), RGB(200, 100, 0));

    img.SetAlphaMax(127); // 255 becomes 255 x 128 >> 8 = 127
    Target u;
    img.Draw(u.dc, 0, 0);
    EXPECT_EQ(u.At(1, 0), RGB(Mix(200, 10, 127), Mix(100, 20, 127), Mix(0, 30, 127)));
    img.SetAlphaMax(0);
    Target v;
    img.Draw(v.dc, 0, 0);
    EXPECT_EQ(v.Painted(), 0);

    CRaster pal(2, 1, 8);
    pal.SetPaletteColor(0, 200, 100, 0, 255);
    pal.SetPaletteColor(1, 200, 100, 0, 63);
    pal.SetPixelIndex(1, 0, 1);
    pal.EnablePaletteAlpha(true);
    Target w;
    pal.Draw(w.dc, 0, 0);
    EXPECT_EQ(w.At(0, 0), RGB(200, 100, 0));
    EXPECT_EQ(w.At(1, 0), RGB(Mix(200, 10, 63), Mix(100, 20, 63), Mix(0, 30, 63)));
}

TEST(RasterDraw, StretchingPicksOrSmoothsSourcePixels) {
    const CRaster img = Picture(3, 2);
    Target t;
    img.Draw(t.dc, 0, 0, 6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(t.At(x, y), Ref(img, x / 2, y / 3)) << x << "," << y;

    // Halving a 2 x 2 checkerboard of black and white averages to grey.
    CRaster board(8, 8, 24);
    for (LONG y = 0; y < 8; ++y)
        for (LONG x = 0; x < 8; ++x)
            if ((x + y) % 2)
                board.SetPixelColor(x, y, RGBQUAD::FromRgb(200, 200, 200));
    Target u;
    board.Draw(u.dc, 0, 0, 4, 4, nullptr, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_TRUE(Near(u.At(x, y), RGB(100, 100, 100), 1)) << x << "," << y;
    Target plain;
    board.Draw(plain.dc, 0, 0, 4, 4);
    EXPECT_EQ(plain.At(1, 1), RGB(0, 0, 0));

    // Enlarging interpolates between neighbours and holds the edges.
    CRaster ramp(2, 1, 24);
    ramp.SetPixelColor(0, 0, RGBQUAD::FromRgb(0, 0, 0));
    ramp.SetPixelColor(1, 0, RGBQUAD::FromRgb(240, 240, 240));
    Target v;
    ramp.Draw(v.dc, 0, 0, 8, 1, nullptr, true);
    EXPECT_EQ(v.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(v.At(7, 0), RGB(240, 240, 240));
    for (int x = 1; x < 8; ++x)
        EXPECT_GE(GetRValue(v.At(x, 0)), GetRValue(v.At(x - 1, 0)));
    EXPECT_TRUE(Near(v.At(4, 0), RGB(150, 150, 150), 1)); // its middle is 0.625 of the way

    // A constant picture stays constant whichever way it is scaled.
    CRaster flat(7, 5, 24);
    for (LONG y = 0; y < 5; ++y)
        for (LONG x = 0; x < 7; ++x)
            flat.SetPixelColor(x, y, RGBQUAD::FromRgb(60, 120, 180));
    for (SIZE s : {SIZE{3, 2}, SIZE{19, 11}, SIZE{20, 3}}) {
        Target w;
        flat.Draw(w.dc, 0, 0, s.cx, s.cy, nullptr, true);
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x)
                ASSERT_TRUE(Near(w.At(x, y), RGB(60, 120, 180), 1));
    }
}

TEST(RasterDraw, LogicalRectanglesAreMappedAndPutUpright) {
    const CRaster img = Picture(2, 2);
    Target t(40, 40);
    t.dc.SetMapMode(MM_HIENGLISH); // 96 pixels to 1000 units, y up
    ASSERT_EQ(img.DrawLogical(t.dc, 0, 0, 250, -250), 1);
    EXPECT_EQ(t.At(0, 0), Ref(img, 0, 0));
    EXPECT_EQ(t.At(23, 23), Ref(img, 1, 1));
    EXPECT_EQ(t.At(24, 0), kBackground);
    // The reversed rectangle gives the same picture.
    Target u(40, 40);
    u.dc.SetMapMode(MM_HIENGLISH);
    const RECT r{0, -250, 250, 0};
    ASSERT_EQ(img.DrawLogicalRect(u.dc, r), 1);
    EXPECT_EQ(u.At(0, 0), Ref(img, 0, 0));
    EXPECT_EQ(u.At(23, 23), Ref(img, 1, 1));

    // Draw itself maps the corner only; the size stays in pixels.
    Target v(40, 40);
    v.dc.SetMapMode(MM_HIENGLISH);
    ASSERT_EQ(img.DrawInRect(v.dc, RECT{125, -125, 127, -123}), 1);
    EXPECT_EQ(v.At(12, 12), Ref(img, 0, 0));
    EXPECT_EQ(v.At(13, 13), Ref(img, 1, 1));
    EXPECT_EQ(v.Painted(), 4);
}

namespace {

// Printer pages drawn onto an image surface at 72 dots to the inch, so the result can be read.
class ImagePages : public IPrintPageService {
public:
    ImagePages() {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 20, 20);
        cr_ = cairo_create(surface_);
        cairo_set_source_rgb(cr_, 10 / 255.0, 20 / 255.0, 30 / 255.0);
        cairo_paint(cr_);
    }
    ~ImagePages() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    PrintPageSetup Setup() const override { return {278, 278, 72, 0, 0}; }
    bool StartDoc(const std::string&) override { return true; }
    bool StartPage() override { return true; }
    cairo_t* PageContext() override { return cr_; }
    bool EndPage() override { return true; }
    bool EndDoc() override { return true; }
    void AbortDoc() override {}
    COLORREF At(int x, int y) {
        cairo_surface_flush(surface_);
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_));
        return RasterSurface::ToColor(row[x]);
    }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

} // namespace

TEST(RasterDraw, PagesWithoutPixelsReceiveThePictureWithAlpha) {
    CRaster img(2, 2, 24);
    img.SetPixelColor(0, 1, RGBQUAD::FromRgb(200, 100, 0));
    img.SetPixelColor(1, 1, RGBQUAD::FromRgb(255, 255, 255));
    img.SetPixelColor(0, 0, RGBQUAD::FromRgb(200, 100, 0));
    img.SetPixelColor(1, 0, RGBQUAD::FromRgb(0, 0, 200));
    img.SetTransparentIndex(0);
    img.SetTransparentColor(RGBQUAD::FromRgb(255, 255, 255));
    img.CreateAlpha();
    img.SetAlpha(0, 0, 128);
    ImagePages pages;
    CDC dc;
    ASSERT_TRUE(dc.CreatePrinterDC(pages));
    dc.StartDoc("t");
    dc.StartPage();
    const RECT clip{0, 0, 8, 8};
    ASSERT_EQ(img.Draw(dc, 2, 2, 8, 8, &clip), 1);
    dc.EndPage();
    dc.EndDoc();
    EXPECT_EQ(pages.At(3, 3), RGB(200, 100, 0));
    EXPECT_EQ(pages.At(7, 3), kBackground); // transparent white
    EXPECT_TRUE(
        Near(pages.At(3, 7), RGB(Mix(200, 10, 128), Mix(100, 20, 128), Mix(0, 30, 128)), 2));
    EXPECT_EQ(pages.At(8, 7), kBackground); // beyond the clip
    EXPECT_EQ(pages.At(1, 1), kBackground);
}
