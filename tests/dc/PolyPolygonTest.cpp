#include "DcTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Two squares, the inner one running the same way round: a hole under the alternate rule, filled
// under the winding rule; the joins between the polygons never show.
TEST(DcPolyPolygon, FillRuleDecidesHolesAndEveryRingIsOutlined) {
    const POINT pts[] = {{10, 10}, {50, 10}, {50, 50}, {10, 50}, {20, 20}, {40, 20},
                         {40, 40}, {20, 40}, {60, 10}, {70, 10}, {70, 20}};
    const int counts[] = {4, 4, 3};
    for (int mode : {ALTERNATE, WINDING}) {
        RasterFixture f(80, 60);
        CBrush red(RGB(255, 0, 0));
        CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
        f.dc.SelectObject(&red);
        f.dc.SelectObject(&blue);
        f.dc.SetPolyFillMode(mode);
        ASSERT_TRUE(f.dc.PolyPolygon(pts, counts, 3));
        EXPECT_EQ(f.At(15, 30), RGB(255, 0, 0)) << mode;
        EXPECT_EQ(f.At(30, 30), mode == ALTERNATE ? RGB(255, 255, 255) : RGB(255, 0, 0));
        EXPECT_EQ(f.At(20, 30), RGB(0, 0, 255)); // the inner ring's outline
        EXPECT_EQ(f.At(70, 15), RGB(0, 0, 255));
        EXPECT_EQ(f.At(67, 12), RGB(255, 0, 0));
        // Nothing between the polygons: the connecting lines cancel out.
        EXPECT_TRUE(f.IsWhite(55, 12));
        EXPECT_FALSE(f.IsWhite(16, 16));
    }
    RasterFixture f(10, 10);
    const int bad[] = {2, -1};
    EXPECT_FALSE(f.dc.PolyPolygon(pts, bad, 2));
    EXPECT_FALSE(f.dc.PolyPolygon(pts, counts, 0));
}

} // namespace
