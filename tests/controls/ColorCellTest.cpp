#include "tests/controls/ControlTestSupport.h"

#include "controls/CFOColorCellObj.h"
#include "controls/CFOGlobalData.h"
#include "controls/PickerBorder.h"
#include "platform/SysColor.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(ColorCellTest, HexagonCornersAndEveryFilledPixelIsHit) {
    CFOColorCellObj cell;
    cell.SetColor(RGB(255, 0, 0));
    cell.SetHexagon(100, 100, 16);
    const std::vector<POINT> expected{{92, 95},   {100, 92},  {108, 95},
                                      {108, 106}, {100, 109}, {92, 106}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(cell.Points()[i].x, expected[i].x) << i;
        EXPECT_EQ(cell.Points()[i].y, expected[i].y) << i;
    }
    EXPECT_EQ(cell.GetBoundRect(), CRect(92, 92, 108, 109));

    Canvas canvas(200, 200);
    canvas.Clear(kWhite);
    cell.Draw(canvas.dc);
    int filled = 0;
    for (int y = 80; y < 120; ++y)
        for (int x = 80; x < 120; ++x) {
            const bool red = canvas.At(x, y) == RGB(255, 0, 0);
            filled += red;
            ASSERT_EQ(red, cell.HitTest(x, y)) << x << "," << y;
        }
    EXPECT_GE(filled, 16 * 14);
}

TEST(ColorCellTest, UnplacedHexagonHitsNothingAndRectangleCellsKeepTheirMargin) {
    CFOColorCellObj hexagon;
    EXPECT_FALSE(hexagon.HitTest(0, 0));

    CFOColorCellObj cell;
    cell.SetColor(RGB(0, 0, 255));
    cell.SetRect(CRect(10, 10, 30, 25));
    cell.SetHexagonFlag(false);
    EXPECT_TRUE(cell.HitTest(10, 10));
    EXPECT_FALSE(cell.HitTest(30, 10));
    Canvas canvas(40, 40);
    canvas.Clear(kWhite);
    cell.Draw(canvas.dc);
    const COLORREF face = CFOGlobalData::Get().clrBtnFace;
    const COLORREF shadow = CFOGlobalData::Get().clr3DShadow;
    EXPECT_EQ(canvas.At(10, 10), face); // the one-pixel margin
    EXPECT_EQ(canvas.At(29, 24), face);
    EXPECT_EQ(canvas.At(11, 15), shadow); // the frame of the swatch
    EXPECT_EQ(canvas.At(28, 15), shadow);
    EXPECT_EQ(canvas.At(20, 17), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(30, 25), kWhite);

    cell.SetInset(0);
    canvas.Clear(kWhite);
    cell.Draw(canvas.dc);
    EXPECT_EQ(canvas.At(10, 10), shadow);
}

TEST(ColorCellTest, SelectionFramesDependOnTheCellColour) {
    for (const COLORREF colour : {kWhite, RGB(0, 128, 0)}) {
        CFOColorCellObj cell;
        cell.SetColor(colour);
        cell.SetHexagon(50, 50, 30);
        Canvas canvas(100, 100);
        canvas.Clear(RGB(1, 2, 3));
        cell.Draw(canvas.dc);
        cell.DrawSelection(canvas.dc);
        // Along the row through the centre: black frame at the edge, then white.
        const int left = cell.Points()[0].x;
        EXPECT_EQ(canvas.At(left, 50), kBlack);
        EXPECT_EQ(canvas.At(left + 1, 50), colour == kWhite ? kBlack : kWhite);
        EXPECT_EQ(canvas.At(left + 2, 50), kWhite);
        EXPECT_EQ(canvas.At(left + 3, 50), colour);
    }
}

TEST(ColorCellTest, BorderStyles) {
    const CFOGlobalData& g = CFOGlobalData::Get();
    Canvas canvas(40, 40);
    for (const int style : {0, 17, -3}) {
        canvas.Clear(RGB(1, 2, 3));
        CRect r(10, 10, 30, 30);
        PickerBorder::Draw(canvas.dc, r, style);
        EXPECT_EQ(canvas.At(10, 10), RGB(1, 2, 3)) << style;
    }
    canvas.Clear(RGB(1, 2, 3));
    CRect raised(10, 10, 30, 30);
    PickerBorder::Draw(canvas.dc, raised, 2);
    EXPECT_EQ(raised, CRect(10, 10, 30, 30));
    EXPECT_EQ(canvas.At(10, 20), kWhite);
    EXPECT_EQ(canvas.At(29, 20), kBlack);
    EXPECT_EQ(canvas.At(11, 20), g.clrBtnFace);
    EXPECT_EQ(canvas.At(28, 20), g.clrBtnShadow);
    EXPECT_EQ(canvas.At(12, 20), RGB(1, 2, 3));

    canvas.Clear(RGB(1, 2, 3));
    CRect outside(10, 10, 30, 30);
    PickerBorder::Draw(canvas.dc, outside, 1);
    EXPECT_EQ(outside, CRect(8, 8, 32, 32));
    EXPECT_EQ(canvas.At(9, 20), g.clrBtnShadow);
    EXPECT_EQ(canvas.At(10, 20), kBlack);
    EXPECT_EQ(canvas.At(29, 20), kWhite);

    // Style 3: a sunken pair, a two-pixel gap, then the raised pair.
    canvas.Clear(RGB(1, 2, 3));
    CRect deep(0, 0, 40, 40);
    PickerBorder::Draw(canvas.dc, deep, 3);
    EXPECT_EQ(canvas.At(0, 20), g.clrBtnShadow);
    EXPECT_EQ(canvas.At(1, 20), kBlack);
    EXPECT_EQ(canvas.At(2, 20), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(3, 20), kWhite);
    EXPECT_EQ(canvas.At(4, 20), g.clrBtnFace);

    canvas.Clear(RGB(1, 2, 3));
    CRect lined(0, 0, 40, 40);
    PickerBorder::Draw(canvas.dc, lined, 16);
    EXPECT_EQ(canvas.At(0, 0), g.clrBtnDkShadow);
    EXPECT_EQ(canvas.At(39, 39), g.clrBtnDkShadow);
    EXPECT_EQ(canvas.At(1, 1), RGB(1, 2, 3));
}

TEST(ColorCellTest, GlobalDataFollowsTheDesktopTable) {
    CFOGlobalData& g = CFOGlobalData::Get();
    g.UpdateSysColors();
    EXPECT_EQ(g.clrBtnFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(g.clrHotLight, GetSysColor(COLOR_HOTLIGHT));
    EXPECT_EQ(g.clrFrameLine, kBlack);
    EXPECT_EQ(g.cxEdge, 2);
    EXPECT_EQ(g.cxVScroll, 17);
    EXPECT_EQ(g.cxDlgFrame, 3);
}

} // namespace
