#include "DcTestSupport.h"

#include "platform/PolygonScanner.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(DcScan, EdgesOnTheLeftAndTopCountInOnTheRightAndBottomOut) {
    const PolygonScanner square({{2, 3}, {6, 3}, {6, 8}, {2, 8}}, ALTERNATE);
    EXPECT_EQ(square.Bounds(), CRect(2, 3, 6, 8));
    EXPECT_TRUE(square.Contains({2, 3}));
    EXPECT_TRUE(square.Contains({5, 7}));
    EXPECT_FALSE(square.Contains({6, 5}));
    EXPECT_FALSE(square.Contains({4, 8}));
    // A diagonal edge: the pixel is in when its point lies on or right of the edge.
    const PolygonScanner tri({{0, 0}, {10, 10}, {0, 10}}, ALTERNATE);
    EXPECT_TRUE(tri.Contains({0, 5}));
    EXPECT_FALSE(tri.Contains({5, 5})); // on the right-hand edge
    EXPECT_TRUE(tri.Contains({4, 5}));
}

TEST(DcScan, FillRulesDifferOnlyWhereTheOutlineOverlapsItself) {
    // Two overlapping squares drawn the same way round in one outline.
    const std::vector<CPoint> twice{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0},
                                    {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
    const PolygonScanner alternate(twice, ALTERNATE), winding(twice, WINDING);
    EXPECT_FALSE(alternate.Contains({7, 7}));
    EXPECT_TRUE(winding.Contains({7, 7}));
    EXPECT_TRUE(alternate.Contains({2, 2}));
    EXPECT_TRUE(winding.Contains({12, 12}));
    // Far-flung coordinates neither overflow nor lose the shape.
    const LONG big = 1 << 26;
    const PolygonScanner huge({{-big, -big}, {big, -big}, {big, big}, {-big, big}}, ALTERNATE);
    EXPECT_TRUE(huge.Contains({big - 1, big - 1}));
    EXPECT_TRUE(huge.Contains({0, 0}));
    EXPECT_FALSE(huge.Contains({big, 0}));
}

TEST(DcLines, ClippedLinesMatchTheUnclippedOnesAndFarOnesCostNothing) {
    const POINT lines[][2] = {{{-50, 3}, {70, 41}}, {{5, -40}, {17, 90}}, {{60, 60}, {-30, 0}}};
    for (const auto& l : lines) {
        RasterFixture whole(40, 40), clipped(40, 40);
        whole.dc.Polyline(l, 2);
        clipped.dc.IntersectClipRect(10, 10, 30, 30);
        clipped.dc.Polyline(l, 2);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool inClip = x >= 10 && x < 30 && y >= 10 && y < 30;
                ASSERT_EQ(clipped.At(x, y), inClip ? whole.At(x, y) : RGB(255, 255, 255))
                    << x << "," << y;
            }
    }
    // A line millions of pixels long across a small picture.
    RasterFixture f(20, 20);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) {
        f.dc.MoveTo(-60000000, 5);
        f.dc.LineTo(60000000, 6);
    }
    CPen dots(PS_DOT, 0, RGB(0, 0, 0));
    f.dc.SelectObject(&dots);
    for (int i = 0; i < 100; ++i) {
        f.dc.MoveTo(15, -60000000);
        f.dc.LineTo(15, 60000000);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(f.IsWhite(10, 5) && f.IsWhite(10, 6));

    // The dots of a clipped styled line fall where the unclipped line puts them.
    RasterFixture whole(40, 4), clipped(40, 4);
    for (RasterFixture* g : {&whole, &clipped}) {
        g->dc.SelectObject(&dots);
        g->dc.SetBkMode(TRANSPARENT);
    }
    clipped.dc.IntersectClipRect(17, 0, 40, 4);
    const POINT run[] = {{0, 1}, {39, 1}, {0, 2}};
    whole.dc.Polyline(run, 3);
    clipped.dc.Polyline(run, 3);
    for (int y = 1; y <= 2; ++y)
        for (int x = 17; x < 40; ++x)
            ASSERT_EQ(clipped.At(x, y), whole.At(x, y)) << x << "," << y;
}

TEST(DcLines, WidePensAreRoundAndAsWideAcrossAsTheyAreAlong) {
    RasterFixture f(100, 100);
    CPen pen(PS_SOLID, 9, RGB(0, 0, 0));
    f.dc.SelectObject(&pen);
    f.dc.MoveTo(20, 20);
    f.dc.LineTo(80, 80);
    // Across the diagonal the ink is about 9 pixels thick: sqrt(2) * 9 along a row.
    int row = 0;
    for (int x = 0; x < 100; ++x)
        row += f.IsWhite(x, 50) ? 0 : 1;
    EXPECT_NEAR(row, 9 * 1.414, 1.5);
    // The ends are round: the corner of the square around an end stays white.
    EXPECT_FALSE(f.IsWhite(16, 20));
    EXPECT_TRUE(f.IsWhite(16, 16));
    EXPECT_FALSE(f.IsWhite(80, 84));
    EXPECT_TRUE(f.IsWhite(84, 84));

    // A wide dotted pen draws solid, as geometric pens do.
    RasterFixture g(40, 10);
    CPen dots(PS_DOT, 3, RGB(0, 0, 0));
    g.dc.SelectObject(&dots);
    g.dc.MoveTo(5, 5);
    g.dc.LineTo(35, 5);
    for (int x = 5; x < 35; ++x)
        EXPECT_FALSE(g.IsWhite(x, 5)) << x;
}

TEST(DcLines, AbsurdCoordinatesLeaveTheContextWorking) {
    RasterFixture f(60, 30);
    CFont font;
    font.CreateFont(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    f.dc.SelectObject(&font);
    f.dc.SetBkMode(TRANSPARENT);
    f.dc.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    f.dc.TextOut(2000000000, -2000000000, "far away");
    const POINT spike[] = {{-2000000000, 0}, {2000000000, 1}, {5, 2000000000}};
    f.dc.Polygon(spike, 3);
    f.dc.PatBlt(0, 0, 60, 30, WHITENESS);
    // Ordinary drawing still lands.
    f.dc.TextOut(2, 2, "ok");
    CPen pen(PS_SOLID, 3, RGB(0, 0, 0));
    f.dc.SelectObject(&pen);
    f.dc.SelectStockObject(NULL_BRUSH);
    f.dc.Ellipse(30, 5, 55, 25);
    EXPECT_FALSE(f.InkBox().IsRectEmpty());
    EXPECT_FALSE(f.IsWhite(42, 5) && f.IsWhite(42, 6) && f.IsWhite(42, 7));
    int text = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 25; ++x)
            text += f.IsWhite(x, y) ? 0 : 1;
    EXPECT_GT(text, 10);
}
