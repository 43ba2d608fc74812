#include "DcTestSupport.h"

#include <gtest/gtest.h>

TEST(DcShapes, RectangleLeavesRightAndBottomEdgesOut) {
    RasterFixture f(40, 40);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush red(RGB(255, 0, 0));
    f.dc.SelectObject(&pen);
    f.dc.SelectObject(&red);
    f.dc.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(f.At(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(f.At(19, 19), RGB(0, 0, 0));
    EXPECT_EQ(f.At(19, 10), RGB(0, 0, 0));
    EXPECT_EQ(f.At(15, 15), RGB(255, 0, 0));
    EXPECT_TRUE(f.IsWhite(20, 15));
    EXPECT_TRUE(f.IsWhite(15, 20));
    EXPECT_EQ(f.InkBox(), CRect(10, 10, 20, 20));

    // Without a pen the filled area is one pixel smaller each way.
    f.dc.SelectStockObject(NULL_PEN);
    f.dc.Rectangle(25, 25, 30, 30);
    EXPECT_EQ(f.At(28, 28), RGB(255, 0, 0));
    EXPECT_TRUE(f.IsWhite(29, 28));
    EXPECT_TRUE(f.IsWhite(28, 29));

    // FillRect covers the whole rectangle but its far edges.
    CRect r(30, 0, 35, 5);
    f.dc.FillRect(&r, &red);
    EXPECT_EQ(f.At(34, 4), RGB(255, 0, 0));
    EXPECT_TRUE(f.IsWhite(35, 4));
}

TEST(DcShapes, LinesLeaveTheirLastPixelButClosedFiguresDrawEveryVertex) {
    RasterFixture f(30, 30);
    f.dc.MoveTo(2, 2);
    f.dc.LineTo(12, 2);
    EXPECT_EQ(f.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(f.At(11, 2), RGB(0, 0, 0));
    EXPECT_TRUE(f.IsWhite(12, 2));
    EXPECT_EQ(f.dc.GetCurrentPosition(), CPoint(12, 2));

    const POINT wall[] = {{2, 10}, {12, 15}};
    f.dc.Polygon(wall, 2);
    EXPECT_EQ(f.At(2, 10), RGB(0, 0, 0));
    EXPECT_EQ(f.At(12, 15), RGB(0, 0, 0));

    // A figure that collapses to one point still marks it.
    const POINT dot[] = {{20, 20}, {20, 20}};
    f.dc.Polygon(dot, 2);
    EXPECT_EQ(f.At(20, 20), RGB(0, 0, 0));

    const POINT open[] = {{2, 25}, {8, 25}, {8, 28}};
    f.dc.Polyline(open, 3);
    EXPECT_EQ(f.At(8, 25), RGB(0, 0, 0));
    EXPECT_TRUE(f.IsWhite(8, 28));
}

// Width of the ink where a vertical line crosses row y.
static int InkWidthAtRow(RasterFixture& f, int y) {
    int n = 0;
    for (int x = 0; x < f.bitmap.Width(); ++x)
        n += f.IsWhite(x, y) ? 0 : 1;
    return n;
}

TEST(DcShapes, PenWidthsFollowTheMappingAndNeverVanish) {
    struct Case {
        int dpi, width, pixels;
    };
    // 10 thousandths are one pixel on screen and six at 600 dots per inch; 0 is one pixel.
    for (Case c : {Case{96, 10, 1}, Case{96, 0, 1}, Case{96, 50, 5}, Case{600, 10, 6},
                   Case{600, 0, 1}, Case{600, 25, 15}}) {
        RasterFixture f(100, 100, c.dpi);
        f.dc.SetMapMode(MM_HIENGLISH);
        CPen pen(PS_SOLID, c.width, RGB(0, 0, 0));
        f.dc.SelectObject(&pen);
        CPoint top(50, 10), bottom(50, 90);
        f.dc.DPtoLP(&top);
        f.dc.DPtoLP(&bottom);
        const POINT wall[] = {{top.x, top.y}, {top.x, bottom.y}};
        f.dc.Polygon(wall, 2);
        EXPECT_EQ(InkWidthAtRow(f, 50), c.pixels) << "dpi " << c.dpi << " width " << c.width;
    }
}

TEST(DcShapes, StyledPensHatchedBrushesAndEllipses) {
    RasterFixture f(64, 64);
    CPen dots(PS_DOT, 0, RGB(0, 0, 0));
    f.dc.SelectObject(&dots);
    f.dc.SetBkMode(TRANSPARENT);
    f.dc.MoveTo(0, 0);
    f.dc.LineTo(60, 0);
    int on = 0;
    for (int x = 0; x < 60; ++x)
        on += f.IsWhite(x, 0) ? 0 : 1;
    EXPECT_EQ(on, 30); // half the run is gap
    EXPECT_TRUE(f.IsWhite(3, 0));

    CBrush hatch(HS_CROSS, RGB(0, 0, 255));
    CRect r(0, 8, 16, 24);
    f.dc.SetBkMode(OPAQUE);
    f.dc.SetBkColor(RGB(0, 255, 0));
    f.dc.FillRect(&r, &hatch);
    EXPECT_EQ(f.At(7, 9), RGB(0, 0, 255));
    EXPECT_EQ(f.At(1, 15), RGB(0, 0, 255));
    EXPECT_EQ(f.At(1, 9), RGB(0, 255, 0));

    CBrush red(RGB(255, 0, 0));
    f.dc.SelectObject(&red);
    f.dc.SelectStockObject(BLACK_PEN);
    f.dc.Ellipse(30, 30, 61, 61);
    EXPECT_EQ(f.At(45, 45), RGB(255, 0, 0));
    EXPECT_EQ(f.At(45, 30), RGB(0, 0, 0));
    EXPECT_TRUE(f.IsWhite(31, 31)); // the corner lies outside
    EXPECT_TRUE(f.IsWhite(61, 45));
}
