#include "tests/support/DocTestSupport.h"
#include "view/GeometryCache.h"
#include "view/PolygonCellGeometry.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::vector<CornerFraction>> kBox = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
// Two offset grids with fractional corners, as the hexagon template lays them.
const std::vector<std::vector<CornerFraction>> kHexPair = {
    {{0.1875, 0}, {0.5, 0}, {0.6875, 0.25}, {0.5, 0.5}, {0.1875, 0.5}, {0, 0.25}},
    {{0.6875, 0.25}, {1.0, 0.25}, {1.1875, 0.5}, {1.0, 0.75}, {0.6875, 0.75}, {0.5, 0.5}}};

} // namespace

TEST(PolygonCellGeometry, CornersTruncateTowardZeroWithYUp) {
    const PolygonCellGeometry box(kBox, 400, -400);
    std::vector<CPoint> outline;
    box.Outline(2, 3, 0, outline);
    const std::vector<CPoint> expected = {
        {800, -1200}, {1200, -1200}, {1200, -1600}, {800, -1600}, {800, -1200}};
    EXPECT_EQ(outline, expected);
    EXPECT_EQ(box.Corner(2, 3, 0, 4), box.Corner(2, 3, 0, 0));

    // 0.1875 x 333 = 62.4 and 0.25 x -333 = -83.25: both truncate toward zero.
    const PolygonCellGeometry hex(kHexPair, 333, -333);
    EXPECT_EQ(hex.Corner(0, 0, 0, 0), CPoint(62, 0));
    EXPECT_EQ(hex.Corner(0, 0, 0, 5), CPoint(0, -83));
    EXPECT_EQ(hex.Corner(1, 1, 1, 2), CPoint(333 + 395, -333 - 166));
}

TEST(PolygonCellGeometry, ExtentCoversEveryCornerWithYDownward) {
    const PolygonCellGeometry hex(kHexPair, 400, -400);
    const MazeExtent e = hex.Extent(3, 2);
    // Grid 1 reaches 1.1875 cells right of the last column and 0.75 below the last row.
    EXPECT_EQ(e.minX, 0);
    EXPECT_EQ(e.maxX, 2 * 400 + 475);
    EXPECT_EQ(e.minY, 0);
    EXPECT_EQ(e.maxY, 400 + 300);
    double cx = 0, cy = 0;
    hex.Centre(0, 0, 0, cx, cy);
    EXPECT_DOUBLE_EQ(e.centreMinX, cx);
    EXPECT_DOUBLE_EQ(e.centreMinY, -cy);
    hex.Centre(2, 1, 1, cx, cy);
    EXPECT_DOUBLE_EQ(e.centreMaxX, cx);
    EXPECT_DOUBLE_EQ(e.centreMaxY, -cy);
}

class SharedSideTest : public DocTest, public ::testing::WithParamInterface<int> {};

// Neighbouring cells draw their common side from the same two integer points, whatever the
// cell size: walls meet without cracks and fills tile the page.
TEST_P(SharedSideTest, NeighboursShareTheirSideExactly) {
    const int kind = GetParam();
    CGridloomDoc& doc = NewDoc(kind, 5, 4);
    for (const auto& [w, h] : {std::pair{400, -400}, {333, -517}, {97, -61}, {1001, -999}}) {
        const PolygonCellGeometry g(GeometryCache::ShapesOf(kind), w, h);
        for (int grid = 0; grid < doc.GridCount(); ++grid) {
            for (int row = 0; row < 4; ++row) {
                for (int column = 0; column < 5; ++column) {
                    for (int side = 1; side <= g.Sides(grid); ++side) {
                        const auto n = doc.FindNeighbour(column, row, grid, side);
                        if (!n)
                            continue;
                        const CPoint a0 = g.Corner(column, row, grid, side - 1);
                        const CPoint a1 = g.Corner(column, row, grid, side);
                        const CPoint b0 = g.Corner(n->column, n->row, n->grid, n->side - 1);
                        const CPoint b1 = g.Corner(n->column, n->row, n->grid, n->side);
                        EXPECT_TRUE(a0 == b1 && a1 == b0)
                            << "kind " << kind << " size " << w << " cell " << column << "," << row
                            << "," << grid << " side " << side;
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PolygonKinds, SharedSideTest, ::testing::Values(0, 1, 2, 3, 4, 5));
