#include "GestureTestSupport.h"
#include "gesture/CMouseGesture.h"
#include "gesture/GestureNames.h"
#include "gesture/GestureThumbnail.h"
#include "image/core/CRaster.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

using Colour = std::tuple<int, int, int>;

Colour At(const CRaster& image, int x, int y) {
    // Picture rows count from the bottom.
    const RGBQUAD q = image.GetPixelColor(x, GestureThumbnail::kSize - 1 - y, false);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

std::set<Colour> ColoursInside(const CRaster& image, int inset) {
    std::set<Colour> colours;
    for (int y = inset; y < GestureThumbnail::kSize - inset; ++y)
        for (int x = inset; x < GestureThumbnail::kSize - inset; ++x)
            colours.insert(At(image, x, y));
    return colours;
}

bool FramedBy(const CRaster& image, int width, Colour inside) {
    const int n = GestureThumbnail::kSize;
    for (int i = 0; i < n; ++i)
        for (int d = 0; d < width; ++d)
            if (At(image, i, d) != Colour{0, 0, 0} || At(image, d, i) != Colour{0, 0, 0} ||
                At(image, i, n - 1 - d) != Colour{0, 0, 0} ||
                At(image, n - 1 - d, i) != Colour{0, 0, 0})
                return false;
    return At(image, width, width) == inside && At(image, n - 1 - width, n - 1 - width) == inside;
}

} // namespace

TEST(GestureThumbnail, EveryPrototypeShapeFitsItsMarginsAndRunsFromRedToBlue) {
    const CRect rect(GestureThumbnail::kShapeRect);
    for (int cls = 0; cls < kGestureClassCount; ++cls) {
        const char* name = GestureNames[static_cast<std::size_t>(cls)];
        const auto points = GestureThumbnail::AnglesToPoints(
            GesturePrototypes[static_cast<std::size_t>(cls)], rect);
        ASSERT_EQ(points.size(), 17u) << name;
        LONG minX = 99, maxX = -99, minY = 99, maxY = -99;
        for (const CPoint& p : points) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
        // Inside the picture less a margin of a tenth (4 pixels), and centred: the walk's
        // truncated steps must not push a shape out of the picture.
        EXPECT_GE(minX, 4) << name;
        EXPECT_LE(maxX, 45) << name;
        EXPECT_GE(minY, 4) << name;
        EXPECT_LE(maxY, 45) << name;
        EXPECT_LE(std::abs((minX + maxX) - 49), 1) << name;
        EXPECT_LE(std::abs((minY + maxY) - 49), 1) << name;

        CRaster image;
        ASSERT_TRUE(GestureThumbnail::RenderPrototype(cls, image)) << name;
        ASSERT_EQ(image.GetWidth(), 50u);
        ASSERT_EQ(image.GetHeight(), 50u);
        EXPECT_TRUE(FramedBy(image, 2, {200, 200, 200})) << name;
        const std::set<Colour> colours = ColoursInside(image, 2);
        EXPECT_TRUE(colours.count({255, 0, 0})) << name << ": the first segment's pen";
        EXPECT_TRUE(colours.count({38, 0, 217})) << name << ": the last segment's pen";
    }
    CRaster untouched;
    EXPECT_FALSE(GestureThumbnail::RenderPrototype(38, untouched));
    EXPECT_FALSE(GestureThumbnail::RenderPrototype(-1, untouched));
    EXPECT_EQ(untouched.GetWidth(), 0u);
}

TEST(GestureThumbnail, ARightwardWalkStepsEvenlyWithItsDrift) {
    const GestureAngles right = GesturePrototypes[4];
    const auto points =
        GestureThumbnail::AnglesToPoints(right, CRect(GestureThumbnail::kShapeRect));
    ASSERT_EQ(points.size(), 17u);
    for (std::size_t k = 1; k < points.size(); ++k) {
        const CPoint d = points[k] - points[k - 1];
        const LONG bump = (k - 1) % 3 == 2 ? 1 : 0;
        EXPECT_EQ(d.y, bump) << k;
        EXPECT_GE(d.x, 1) << k;
    }
    // The walk spans the inner width less what truncation loses.
    EXPECT_GE(points.back().x - points.front().x, 36);
    EXPECT_LE(points.back().x - points.front().x, 41);
}

TEST(GestureThumbnail, TopListShowsThreeLinesOfGreyTextInAFrame) {
    CGesturePad::TopList top{{{24, 0.75f}, {10, 0.125f}, {0, 0.0625f}}};
    CRaster image;
    ASSERT_TRUE(GestureThumbnail::RenderTopList(top, image));
    ASSERT_EQ(image.GetWidth(), 50u);
    ASSERT_EQ(image.GetHeight(), 50u);
    // Long lines run over the right edge; the other edges stay black.
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(At(image, i, 0), (Colour{0, 0, 0})) << i;
        EXPECT_EQ(At(image, i, 49), (Colour{0, 0, 0})) << i;
        EXPECT_EQ(At(image, 0, i), (Colour{0, 0, 0})) << i;
    }
    // The text is light grey on white, in three bands of rows from (3, 3) down.
    std::vector<int> inkRows;
    for (int y = 1; y < 49; ++y) {
        bool ink = false;
        for (int x = 1; x < 48; ++x) {
            const auto [r, g, b] = At(image, x, y);
            if (r == 255 && g == 255 && b == 255)
                continue;
            EXPECT_TRUE(r == g && g == b && r >= 191) << x << "," << y;
            EXPECT_GE(x, 3);
            ink = true;
        }
        if (ink)
            inkRows.push_back(y);
    }
    ASSERT_FALSE(inkRows.empty());
    EXPECT_GE(inkRows.front(), 3);
    int bands = 1;
    for (std::size_t i = 1; i < inkRows.size(); ++i)
        bands += inkRows[i] > inkRows[i - 1] + 1;
    EXPECT_EQ(bands, 3);
}

TEST(GestureThumbnail, StrokePointsAreRedDotsAndBlueCrosses) {
    CrtRandom random;
    CMouseGesture g(random);
    g.StartStroke(10, 10);
    for (LONG i = 1; i < 18; ++i)
        g.AddPoint(10 + 3 * i, 10);
    g.Recognize();
    ASSERT_EQ(g.GetPad().ResampledPoints().size(), 17u);

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap32(80, 30));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    g.DrawStrokePoints(dc);
    // The first pair merged: (10,10) and (13,10) became (11,10); the rest kept.
    EXPECT_EQ(dc.GetPixel(13, 10), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(11, 10), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(11, 9), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(11, 11), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(61, 10), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(61, 12), RGB(255, 255, 255));
    dc.SelectObject(old);
}
