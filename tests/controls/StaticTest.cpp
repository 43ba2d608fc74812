#include "tests/controls/ControlTestSupport.h"

#include "controls/CFOCustomStatic.h"
#include "controls/CFOImageStatic.h"
#include "controls/IStaticHost.h"
#include "res/BrickPicture.h"
#include "res/PixelPicture.h"

#include <gtest/gtest.h>

namespace {

class FakeStaticHost : public IStaticHost {
public:
    std::string WindowText() const override { return text; }
    CFont* WindowFont() override { return nullptr; }
    CRect ClientRect() const override { return client; }
    void Resize(CSize size) override { resized.push_back(size); }
    void Invalidate() override { ++invalidated; }

    std::string text;
    CRect client{0, 0, 100, 40};
    std::vector<CSize> resized;
    int invalidated = 0;
};

// Text of a fixed size, whatever the font.
template <typename Base> class StubbedText : public Base {
public:
    using Base::Base;
    CSize GetTextExtent(CDC&, const std::string& text) override {
        return text.empty() ? CSize(0, 0) : CSize(50, 13);
    }
};

// A picture of `count` square images of `side` pixels, each filled with its own colour and a
// magenta (mask) corner pixel.
PixelPicture Strip(int count, int side) {
    PixelPicture p;
    p.width = count * side;
    p.height = side;
    p.pixels.assign(static_cast<size_t>(p.width * p.height), 0xFF000000u);
    for (int i = 0; i < count; ++i)
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                p.At(i * side + x, y) = 0xFF000000u | static_cast<std::uint32_t>(0x2040 * (i + 1));
    for (int i = 0; i < count; ++i)
        p.At(i * side, 0) = 0xFFFF00FFu;
    return p;
}

TEST(StaticTest, IdealSizeFromMarginsAndText) {
    FakeStaticHost host;
    StubbedText<CFOCustomStatic> custom(&host);
    EXPECT_EQ(custom.GetIdealSize(), CSize(8, 8));
    host.text = "Pick";
    EXPECT_EQ(custom.GetIdealSize(), CSize(60, 23));
    custom.SizeToContent();
    ASSERT_EQ(host.resized.size(), 1u);
    EXPECT_EQ(host.resized[0], CSize(60, 23));
    EXPECT_EQ(custom.SetMargin(6), 4);
    EXPECT_EQ(custom.GetIdealSize(), CSize(64, 27));
}

TEST(StaticTest, CustomStaticPaintsAFrameAndCentresTextOnePixelHigh) {
    FakeStaticHost host;
    host.client = CRect(0, 0, 80, 30);
    CFOCustomStatic custom(&host);
    Canvas canvas(80, 30);
    canvas.Clear(RGB(1, 2, 3));
    custom.OnPaint(canvas.dc);
    EXPECT_EQ(custom.GetPaintRect(), CRect(2, 2, 78, 28));
    EXPECT_EQ(canvas.At(0, 15), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(79, 15), RGB(64, 64, 64));
    EXPECT_EQ(canvas.At(40, 15), RGB(212, 208, 200));

    host.text = "Wg";
    canvas.Clear(RGB(1, 2, 3));
    custom.OnPaint(canvas.dc);
    CRect ink(80, 30, 0, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 3; x < 77; ++x)
            if (canvas.At(x, y) == RGB(0, 0, 0)) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.top = std::min<LONG>(ink.top, y);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    ASSERT_LT(ink.left, ink.right);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 40, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 15, 3);
}

TEST(StaticTest, ImageStaticSideBySideLayout) {
    FakeStaticHost host;
    StubbedText<CFOImageStatic> image(&host);
    const PixelPicture strip = Strip(1, 16);
    EXPECT_EQ(image.AddBitmap(&strip, 16, RGB(255, 0, 255)), 0);
    host.text = "Eyedropper";
    Canvas canvas(100, 40);
    CRect pictureRect, textRect;
    image.Layout(canvas.dc, CRect(0, 0, 100, 40), pictureRect, textRect);
    EXPECT_EQ(pictureRect, CRect(0, 11, 16, 27));
    EXPECT_EQ(textRect, CRect(17, 12, 67, 25));

    // Right-aligned images: the text ends one gap before them.
    image.SetImageAlignment(CFOImageStatic::kRight | CFOImageStatic::kMiddle);
    image.SetTextAlignment(CFOImageStatic::kRight | CFOImageStatic::kMiddle);
    image.Layout(canvas.dc, CRect(0, 0, 100, 40), pictureRect, textRect);
    EXPECT_EQ(pictureRect, CRect(83, 11, 99, 27));
    EXPECT_EQ(textRect.right, 83 - 1 - 1);

    // Centred with text: stacked, image above text, both centred.
    image.SetImageAlignment(CFOImageStatic::kCentre | CFOImageStatic::kMiddle);
    image.Layout(canvas.dc, CRect(0, 0, 100, 40), pictureRect, textRect);
    EXPECT_EQ(pictureRect, CRect(42, 4, 58, 20));
    EXPECT_EQ(textRect, CRect(25, 21, 75, 34));
    // Centred without text: side by side.
    host.text.clear();
    image.Layout(canvas.dc, CRect(0, 0, 100, 40), pictureRect, textRect);
    EXPECT_EQ(pictureRect, CRect(42, 11, 58, 27));
    EXPECT_TRUE(textRect.IsRectEmpty());
}

TEST(StaticTest, ImageListCutsPicturesAndRefusesBadCuts) {
    FakeStaticHost host;
    CFOImageStatic image(&host);
    const PixelPicture strip = Strip(3, 10);
    EXPECT_EQ(image.AddBitmap(nullptr, 10, 0), -1);
    EXPECT_EQ(image.AddBitmap(&strip, 0, 0), -1);
    EXPECT_EQ(image.AddBitmap(&strip, 31, 0), -1);
    PixelPicture broken = strip;
    broken.pixels.resize(5);
    EXPECT_EQ(image.AddBitmap(&broken, 10, 0), -1);
    EXPECT_EQ(image.GetImageCount(), 0);
    EXPECT_FALSE(image.HasImages());
    EXPECT_EQ(image.AddBitmap(&strip, 10, RGB(255, 0, 255)), 0);
    EXPECT_EQ(image.GetImageCount(), 3);
    EXPECT_EQ(image.AddBitmap(&strip, -1, RGB(255, 0, 255)), 3); // the whole width as one
    EXPECT_EQ(image.GetImageCount(), 4);
    EXPECT_TRUE(image.RemoveImage(3));
    EXPECT_FALSE(image.RemoveImage(3));
    EXPECT_GT(host.resized.size(), 0u); // each change resizes to the content

    // Drawing: three images a spacing apart, the mask colour left transparent.
    host.client = CRect(0, 0, 60, 20);
    host.text.clear();
    image.SetImageAlignment(0);
    Canvas canvas(60, 20);
    canvas.Clear(RGB(1, 2, 3));
    image.DrawContent(canvas.dc, CRect(0, 0, 60, 20), 0);
    EXPECT_EQ(canvas.At(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 0x20, 0x40));
    EXPECT_EQ(canvas.At(10, 5), RGB(1, 2, 3)); // the spacing
    EXPECT_EQ(canvas.At(12, 5), RGB(0, 0x40, 0x80));
    EXPECT_EQ(canvas.At(11, 0), RGB(1, 2, 3));
    // Flag 0x20 paints the mask white.
    image.DrawContent(canvas.dc, CRect(0, 0, 60, 20), 0x20);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
}

TEST(StaticTest, ImageStaticCutsOneOfTheProgramsPictures) {
    FakeStaticHost host;
    CFOImageStatic image(&host);
    const PixelPicture& brick = BrickPicture::Get();
    ASSERT_GT(brick.width, 4);
    EXPECT_EQ(image.AddBitmap(&brick, brick.width / 2, RGB(255, 0, 255)), 0);
    EXPECT_EQ(image.GetImageCount(), 2);
    Canvas canvas(brick.width, brick.height);
    canvas.Clear(RGB(1, 2, 3));
    image.SetImageSpacing(0);
    image.SetImageAlignment(0);
    image.DrawContent(canvas.dc, CRect(0, 0, brick.width, brick.height), 0);
    const std::uint32_t px = brick.pixels[static_cast<size_t>(brick.width + 1)];
    EXPECT_EQ(canvas.At(1, 1), RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF));
}

} // namespace
