#include "tests/controls/ControlTestSupport.h"

#include "controls/CFOGlobalData.h"
#include "controls/CFOLineTypeControl.h"
#include "controls/PickerMessages.h"
#include "controls/PopupPlacement.h"
#include "platform/GeometricStroke.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

using Message = FakePickerHost::Message;

class LineTypeTest : public ::testing::Test {
protected:
    void SetUp() override { picker.Create(&host, PS_SOLID, CRect(0, 0, 155, 125), true); }

    FakePickerHost host;
    CFOLineTypeControl picker;
};

TEST_F(LineTypeTest, PopupLayoutLeavesRoomForTheGrip) {
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(picker.Cell(i).GetBounds(), CRect(8, 14 + 20 * i, 147, 34 + 20 * i)) << i;
    // The grip takes the 3-D light colour (the same as the face in the classic table).
    CFOGlobalData::Get().clr3DLight = RGB(1, 2, 3);
    Canvas canvas(155, 125);
    picker.OnDraw(canvas.dc);
    CFOGlobalData::Get().UpdateSysColors();
    EXPECT_EQ(canvas.At(8, 4), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(146, 9), RGB(1, 2, 3));
    EXPECT_NE(canvas.At(8, 10), RGB(1, 2, 3));
    EXPECT_NE(canvas.At(7, 5), RGB(1, 2, 3));

    CFOLineTypeControl plain;
    plain.Create(&host, PS_SOLID, CRect(0, 0, 155, 125), false);
    EXPECT_EQ(plain.Cell(0).GetBounds().top, 4);
}

TEST_F(LineTypeTest, LinesAreThreePixelsWithDashesScaledByTheWidth) {
    Canvas canvas(155, 125);
    picker.OnDraw(canvas.dc);
    const COLORREF face = CFOGlobalData::Get().clrBtnFace, black = RGB(0, 0, 0);
    // The solid line of cell 0 (framed as current) and the dashes of cell 1, at y 24 and 44.
    for (int y = 23; y <= 25; ++y)
        EXPECT_EQ(canvas.At(60, y), black) << y;
    EXPECT_EQ(canvas.At(60, 22), face);
    EXPECT_EQ(canvas.At(60, 26), face);
    for (const int x : {9, 17, 21, 29})
        for (int y = 43; y <= 45; ++y)
            EXPECT_EQ(canvas.At(x, y), black) << x << "," << y;
    for (const int x : {18, 20, 30})
        EXPECT_EQ(canvas.At(x, 44), face) << x;
    EXPECT_EQ(canvas.At(12, 42), face);
    EXPECT_EQ(canvas.At(12, 46), face);
    EXPECT_EQ(canvas.At(8, 44), face); // the margin
    // Cell 0 is framed: black outside, white inside.
    EXPECT_EQ(canvas.At(7, 24), black);
    EXPECT_EQ(canvas.At(8, 24), face);
    EXPECT_EQ(canvas.At(9, 24), RGB(255, 255, 255));
}

TEST_F(LineTypeTest, MouseMovesWithoutNotifyingAndReleaseChooses) {
    picker.OnTrackMouse({50, 50});
    picker.OnTrackMouse({50, 100});
    EXPECT_EQ(picker.GetCurrentLineType(), PS_DASHDOTDOT);
    EXPECT_TRUE(host.posted.empty());
    picker.OnLButtonUp({50, 100});
    EXPECT_EQ(host.posted, (std::vector<Message>{{WM_FO_SELECTLINETYPE, PS_DASHDOTDOT, 0}}));
    EXPECT_EQ(host.hides, 1);
}

TEST_F(LineTypeTest, KeysMoveSilentlyAndWrap) {
    picker.OnKeyDown(VK_LEFT, false);
    EXPECT_EQ(picker.GetCurrentLineType(), 0); // the first cell stays
    picker.OnKeyDown(VK_UP, false);
    EXPECT_EQ(picker.GetCurrentLineType(), 4);
    picker.OnKeyDown(VK_RIGHT, false);
    EXPECT_EQ(picker.GetCurrentLineType(), 0);
    picker.OnKeyDown(VK_DOWN, false);
    EXPECT_EQ(picker.GetCurrentLineType(), 1);
    picker.OnKeyDown(VK_TAB, false);
    EXPECT_TRUE(host.posted.empty());
    picker.OnKeyDown(VK_ESCAPE, false);
    EXPECT_EQ(host.posted, (std::vector<Message>{{WM_FO_CANCELLINETYPE, 1, 0}}));
}

TEST_F(LineTypeTest, TinyHostsGetOnePixelCells) {
    CFOLineTypeControl tiny;
    tiny.Create(&host, PS_DOT, CRect(0, 0, 40, 29), true);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tiny.Cell(i).GetBounds().Height(), 1) << i;
    Canvas canvas(40, 29);
    tiny.OnDraw(canvas.dc);
    CFOLineTypeControl none;
    none.Create(&host, PS_DOT, CRect(0, 0, 5, 5), true);
    none.OnDraw(canvas.dc);
    EXPECT_EQ(none.HitTest(2, 2), -1);
}

TEST(GeometricStrokeTest, CornersAreMitredAndEndsSquare) {
    const std::vector<CPoint> corner{{10, 10}, {30, 10}, {30, 30}};
    const auto parts = GeometricStrokePolygons(corner, false, PS_SOLID, 4);
    ASSERT_EQ(parts.size(), 3u); // two segments and one mitre
    Canvas canvas(50, 50);
    canvas.Clear(RGB(255, 255, 255));
    LOGBRUSH ink;
    ink.lbColor = RGB(0, 0, 0);
    CPen pen;
    pen.CreatePen(PS_SOLID | PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4, &ink);
    canvas.dc.SelectObject(&pen);
    canvas.dc.Polyline(corner.data(), 3);
    EXPECT_EQ(canvas.At(31, 8), RGB(0, 0, 0)); // the mitre's outer corner is square
    EXPECT_EQ(canvas.At(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(9, 10), RGB(255, 255, 255)); // flat end
    EXPECT_EQ(canvas.At(30, 31), RGB(255, 255, 255));
    EXPECT_TRUE(GeometricStrokePolygons({{1, 1}}, false, PS_SOLID, 3).empty());
    EXPECT_TRUE(GeometricStrokePolygons(corner, false, PS_SOLID, 0).empty());
}

TEST(PopupPlacementTest, DropsBelowFlipsAboveAndStaysOnTheScreen) {
    const CRect work(0, 0, 1920, 1040);
    const CSize size(200, 150);
    EXPECT_EQ(PlacePopup({100, 500, 180, 521}, size, work, true), CPoint(100, 521));
    EXPECT_EQ(PlacePopup({1800, 500, 1880, 521}, size, work, true), CPoint(1680, 521));
    EXPECT_EQ(PlacePopup({100, 869, 180, 890}, size, work, true), CPoint(100, 719));
    EXPECT_EQ(PlacePopup({100, 868, 180, 889}, size, work, true), CPoint(100, 889));
    // Side placement: to the right, or flipped to the left.
    EXPECT_EQ(PlacePopup({100, 500, 180, 521}, size, work, false), CPoint(180, 521));
    EXPECT_EQ(PlacePopup({1700, 500, 1780, 521}, size, work, false), CPoint(1500, 521));
    // Anchors at or past the edges still give a popup inside the work area.
    EXPECT_EQ(PlacePopup({-50, -30, 10, 5}, size, work, true), CPoint(0, 5));
    EXPECT_EQ(PlacePopup({0, 1030, 100, 1040}, size, CRect(0, 0, 1920, 1040), true),
              CPoint(0, 880));
    EXPECT_EQ(PlacePopup({0, 20, 30, 100}, size, CRect(0, 0, 1920, 200), true), CPoint(0, 0));
}

} // namespace
