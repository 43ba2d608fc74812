#include "DcTestSupport.h"

#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

namespace {

std::vector<POINT> RandomPolygon(CrtRandom& rnd, int count, int size) {
    std::vector<POINT> pts;
    for (int i = 0; i < count; ++i)
        pts.push_back({rnd.rand() % size, rnd.rand() % size});
    return pts;
}

} // namespace

TEST(DcRegions, PolygonFillAndRegionHitTestAgreePixelForPixel) {
    CrtRandom rnd;
    for (int mode : {ALTERNATE, WINDING}) {
        for (int trial = 0; trial < 20; ++trial) {
            RasterFixture f(64, 64);
            const auto pts = RandomPolygon(rnd, 3 + trial % 6, 64);
            f.dc.SelectStockObject(NULL_PEN);
            f.dc.SelectStockObject(BLACK_BRUSH);
            f.dc.SetPolyFillMode(mode);
            f.dc.Polygon(pts.data(), static_cast<int>(pts.size()));
            CRgn rgn;
            rgn.CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), mode);
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    ASSERT_EQ(!f.IsWhite(x, y), rgn.PtInRegion(x, y))
                        << "mode " << mode << " trial " << trial << " at " << x << "," << y;
        }
    }
}

TEST(DcRegions, LogicalFillMatchesDeviceOutlineHitTest) {
    // Cells are painted from logical outlines and hit-tested from the same outline taken to
    // device pixels; both must select the same pixels.
    RasterFixture f(120, 120, 96);
    f.dc.SetMapMode(MM_HIENGLISH);
    std::vector<POINT> hex = {{200, -100}, {600, -100}, {800, -450},
                              {600, -800}, {200, -800}, {0, -450}};
    CRgn logical;
    logical.CreatePolygonRgn(hex.data(), 6, ALTERNATE);
    CBrush blue(RGB(0, 0, 255));
    f.dc.FillRgn(&logical, &blue);
    std::vector<POINT> device = hex;
    f.dc.LPtoDP(device.data(), 6);
    CRgn hit;
    hit.CreatePolygonRgn(device.data(), 6, ALTERNATE);
    int inside = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x) {
            ASSERT_EQ(f.At(x, y) == RGB(0, 0, 255), hit.PtInRegion(x, y)) << x << "," << y;
            inside += hit.PtInRegion(x, y) ? 1 : 0;
        }
    EXPECT_GT(inside, 1000);
}

TEST(DcRegions, RectangleRegionsBoxesAndFrames) {
    CRgn r;
    EXPECT_EQ(r.GetRgnBox(nullptr), ERROR);
    r.CreateRectRgn(10, 10, 20, 30);
    EXPECT_TRUE(r.PtInRegion(10, 10));
    EXPECT_TRUE(r.PtInRegion(19, 29));
    EXPECT_FALSE(r.PtInRegion(20, 15));
    EXPECT_FALSE(r.PtInRegion(15, 30));
    CRect box;
    EXPECT_EQ(r.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(10, 10, 20, 30));
    r.OffsetRgn(5, -5);
    EXPECT_TRUE(r.PtInRegion(24, 5));

    RasterFixture f(40, 40);
    CRgn frame;
    frame.CreateRectRgn(5, 5, 25, 25);
    CBrush black(RGB(0, 0, 0));
    f.dc.FrameRgn(&frame, &black, 2, 2);
    EXPECT_EQ(f.At(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(f.At(6, 15), RGB(0, 0, 0));
    EXPECT_TRUE(f.IsWhite(7, 15));
    EXPECT_EQ(f.At(23, 15), RGB(0, 0, 0));
    EXPECT_TRUE(f.IsWhite(25, 15));

    // A degenerate outline covers nothing.
    const POINT line[] = {{0, 0}, {10, 10}};
    CRgn empty;
    empty.CreatePolygonRgn(line, 2, ALTERNATE);
    EXPECT_EQ(empty.GetRgnBox(nullptr), NULLREGION);
    EXPECT_FALSE(empty.PtInRegion(5, 5));
}
