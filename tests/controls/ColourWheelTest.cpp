#include "tests/controls/ControlTestSupport.h"

#include "controls/CFODropPaletteControl.h"
#include "controls/CFOGlobalData.h"
#include "controls/HslColor.h"
#include "controls/PickerMessages.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

using Message = FakePickerHost::Message;

TEST(HslTest, KnownConversions) {
    EXPECT_EQ(HslColor::HSLToRGB(-90, .5, 1), RGB(127, 0, 255));
    EXPECT_EQ(HslColor::HSLToRGB(30, .5, 1), RGB(255, 127, 0));
    EXPECT_EQ(HslColor::HSLToRGB(200, .25, .5), RGB(31, 74, 95));
    EXPECT_EQ(HslColor::HSLToRGB(0, .5, 1), RGB(255, 0, 0));
    EXPECT_EQ(HslColor::HSLToRGB(123, .5, 0), HslColor::HSLToRGB(7, .5, 0));
    double h, s, l;
    HslColor::RGBToHSL(RGB(0, 0, 255), h, s, l);
    EXPECT_DOUBLE_EQ(h, 4.0 / 6);
    EXPECT_DOUBLE_EQ(s, 1);
    EXPECT_DOUBLE_EQ(l, .5);
    EXPECT_EQ(HslColor::GetAngle(1, 0), 0);
    EXPECT_EQ(HslColor::GetAngle(-1, 0), 180);
    EXPECT_EQ(HslColor::GetAngle(-10, -1), -174);
    EXPECT_EQ(HslColor::GetAngle(0, 5), 90);
}

TEST(HslTest, RoundTripsWithinOnePerChannelAndExactForGreysAndPrimaries) {
    auto back = [](COLORREF c) {
        double h, s, l;
        HslColor::RGBToHSL(c, h, s, l);
        return HslColor::HSLToRGB(h * 360, l, s);
    };
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 51) {
                const COLORREF c = RGB(r, g, b), d = back(c);
                ASSERT_LE(std::abs(GetRValue(c) - GetRValue(d)), 1) << r << "," << g << "," << b;
                ASSERT_LE(std::abs(GetGValue(c) - GetGValue(d)), 1) << r << "," << g << "," << b;
                ASSERT_LE(std::abs(GetBValue(c) - GetBValue(d)), 1) << r << "," << g << "," << b;
            }
    for (int g = 0; g < 256; ++g)
        EXPECT_EQ(back(RGB(g, g, g)), RGB(g, g, g));
    for (const COLORREF c : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                             RGB(0, 255, 255), RGB(255, 0, 255)})
        EXPECT_EQ(back(c), c);
}

class ColourWheelTest : public ::testing::Test {
protected:
    void SetUp() override { wheel.Create(&host, RGB(255, 255, 255), CRect(0, 0, 200, 230), false); }
    void TearDown() override { CFOGlobalData::Get().UpdateSysColors(); }

    FakePickerHost host;
    CFODropPaletteControl wheel;
};

TEST_F(ColourWheelTest, WheelGeometryAndAnchorColours) {
    EXPECT_EQ(wheel.Cell(0).GetBoundRect(), CRect(92, 92, 108, 109));
    EXPECT_EQ(wheel.Cell(1).Points()[1].x, 116); // ring 1 starts at (cx + 16, cy)
    EXPECT_EQ(wheel.Cell(1).Points()[1].y, 92);
    EXPECT_EQ(wheel.Cell(19).GetColor(), RGB(255, 87, 87));
    EXPECT_EQ(wheel.Cell(37).GetColor(), RGB(255, 14, 14));
    EXPECT_EQ(wheel.Cell(126).GetColor(), RGB(123, 0, 16));
    std::set<COLORREF> colours;
    for (int i = 0; i < 127; ++i)
        colours.insert(wheel.Cell(i).GetColor());
    EXPECT_EQ(colours.size(), 127u);
    // The strip: 16 columns from 5 to 195 on the last of nine rows, as the More Colors
    // dialog lays it out (no "Custom..." entry).
    wheel.SetCustomEntry(false);
    wheel.RecalcLayout();
    const int edges[] = {5,   16,  28,  40,  52,  64,  76,  88, 100,
                         111, 123, 135, 147, 159, 171, 183, 195};
    for (int i = 128; i < 144; ++i)
        EXPECT_EQ(wheel.Cell(i).GetBoundRect(), CRect(edges[i - 128], 200, edges[i - 127], 225))
            << i;
    EXPECT_EQ(wheel.Cell(128).GetColor(), RGB(240, 240, 240));
    EXPECT_EQ(wheel.Cell(142).GetColor(), RGB(30, 30, 30));
    EXPECT_EQ(wheel.Cell(143).GetColor(), RGB(0, 0, 0));
    EXPECT_TRUE(wheel.Cell(127).GetBoundRect().IsRectEmpty());
}

TEST_F(ColourWheelTest, HexagonsDrawnAreTheHexagonsHit) {
    Canvas canvas(200, 230);
    wheel.SetCustomEntry(false);
    wheel.RecalcLayout();
    wheel.SetCurrentColor(RGB(1, 2, 3));
    wheel.OnDraw(canvas.dc);
    // Where hexagons overlap the one drawn last shows.
    int covered = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            int last = -1;
            for (int i = 0; i < 127; ++i)
                if (wheel.Cell(i).HitTest(x, y))
                    last = i;
            if (last >= 0) {
                ++covered;
                ASSERT_EQ(canvas.At(x, y), wheel.Cell(last).GetColor()) << x << "," << y;
            }
        }
    EXPECT_GT(covered, 150 * 150);
    EXPECT_GE(wheel.HitTest(100, 100), 0);
    EXPECT_EQ(wheel.HitTest(2, 2), -1);
}

TEST_F(ColourWheelTest, KeysWalkTheCellsInOrder) {
    wheel.OnKeyDown(VK_LEFT, false);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(0, 0, 0)); // 0 -> 143
    wheel.OnKeyDown(VK_RIGHT, false);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(255, 255, 255)); // 143 -> 0
    wheel.OnKeyDown(VK_DOWN, false);
    EXPECT_EQ(wheel.GetCurrentColor(), wheel.Cell(1).GetColor());
    ASSERT_EQ(host.posted.size(), 3u);
    EXPECT_EQ(host.posted[2], (Message{WM_FO_SELECTCOLOR, wheel.Cell(1).GetColor(), 0}));
    wheel.SetCurrentColor(RGB(1, 2, 3));
    wheel.OnKeyDown(VK_RIGHT, false);
    EXPECT_EQ(wheel.GetCurrentColor(), wheel.Cell(1).GetColor());
    EXPECT_EQ(host.hides, 0);
    host.posted.clear();
    wheel.OnKeyDown(VK_ESCAPE, false);
    wheel.OnKeyDown(VK_RETURN, false);
    EXPECT_TRUE(host.posted.empty());
    wheel.OnKeyDown(VK_TAB, false);
    EXPECT_EQ(host.focusBack, 1);
}

TEST_F(ColourWheelTest, AButtonFaceEqualToAGreyNoLongerTrapsTheKeys) {
    CFOGlobalData::Get().clrBtnFace = RGB(240, 240, 240);
    wheel.RecalcLayout();
    wheel.SetCurrentColor(RGB(240, 240, 240));
    wheel.OnKeyDown(VK_RIGHT, false);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(225, 225, 225));
    wheel.OnKeyDown(VK_LEFT, false);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(240, 240, 240));
    wheel.OnKeyDown(VK_LEFT, false);
    EXPECT_EQ(wheel.GetCurrentColor(), wheel.Cell(126).GetColor());
}

TEST_F(ColourWheelTest, DragPostsEveryCellAndReleaseRepeatsTheLast) {
    const CRect a = wheel.Cell(0).GetBoundRect(), b = wheel.Cell(4).GetBoundRect();
    wheel.OnMouseDrag(a.CenterPoint().x, a.CenterPoint().y);
    wheel.OnMouseDrag(b.CenterPoint().x, b.CenterPoint().y);
    wheel.OnMouseDrag(2, 2); // outside every cell: nothing
    wheel.OnLButtonUp(b.CenterPoint());
    const std::vector<Message> expected{{WM_FO_SELECTCOLOR, wheel.Cell(0).GetColor(), 0},
                                        {WM_FO_SELECTCOLOR, wheel.Cell(4).GetColor(), 0},
                                        {WM_FO_SELECTCOLOR, wheel.Cell(4).GetColor(), 0}};
    EXPECT_EQ(host.posted, expected);
    EXPECT_EQ(wheel.GetCurrentColor(), wheel.Cell(4).GetColor());

    host.posted.clear();
    const CPoint custom = wheel.GetCustomRect().CenterPoint();
    wheel.OnMouseDrag(custom.x, custom.y);
    EXPECT_TRUE(wheel.IsCustomPressed());
    wheel.OnLButtonUp(custom);
    EXPECT_EQ(host.posted,
              (std::vector<Message>{{WM_FO_CUSTOMCOLOR, wheel.Cell(4).GetColor(), 0}}));
}

TEST_F(ColourWheelTest, HslAccessorsClampAndIgnoreNonsense) {
    wheel.SetHSL(0, 0.5, 1);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(255, 0, 0));
    wheel.SetHSL(-1, 7, -1); // lightness held to 1
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(255, 255, 255));
    wheel.SetHSL(2.0 / 3, 0.5, 1);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(0, 0, 255));
    wheel.SetHSL(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                 -1);
    EXPECT_EQ(wheel.GetCurrentColor(), RGB(0, 0, 255));
    double h, l, s;
    wheel.GetHSL(h, l, s);
    EXPECT_DOUBLE_EQ(h, 4.0 / 6);
    EXPECT_DOUBLE_EQ(l, 0.5);
    EXPECT_DOUBLE_EQ(s, 1);
}

TEST_F(ColourWheelTest, DrawingFramesTheCurrentCellOrShowsTheSwatch) {
    Canvas canvas(200, 230);
    wheel.SetBorderStyle(14);
    wheel.SetCurrentColor(wheel.Cell(19).GetColor());
    wheel.OnDraw(canvas.dc);
    const CFOGlobalData& g = CFOGlobalData::Get();
    EXPECT_EQ(canvas.At(100, 0), g.clr3DShadow); // style 14
    EXPECT_EQ(canvas.At(100, 1), g.clr3DHilight);
    const CRect cell = wheel.Cell(19).GetBoundRect();
    EXPECT_EQ(canvas.At(cell.left, cell.CenterPoint().y), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(cell.left + 2, cell.CenterPoint().y), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(cell.CenterPoint().x, cell.CenterPoint().y), RGB(255, 87, 87));
    const CRect strip = wheel.GetCustomRect();
    EXPECT_EQ(canvas.At(strip.right - 10, strip.CenterPoint().y), g.clrBtnFace);
    wheel.SetCurrentColor(RGB(9, 99, 199));
    wheel.OnDraw(canvas.dc);
    EXPECT_EQ(canvas.At(strip.right - 10, strip.CenterPoint().y), RGB(9, 99, 199));
    EXPECT_EQ(wheel.GetCustomRect(), strip);
    // The button face colour selects the hidden cell: no swatch.
    wheel.SetCurrentColor(g.clrBtnFace);
    wheel.OnDraw(canvas.dc);
    EXPECT_EQ(canvas.At(strip.right - 10, strip.CenterPoint().y), g.clrBtnFace);
}

} // namespace
