// The row-by-row filler of the metafile player must cover exactly the pixels the device
// context's own polygon routine covers, under both rules, with several outlines and clips.
#include "image/metafile/PolygonSpans.h"

#include "platform/CrtRandom.h"
#include "platform/GdiConstants.h"
#include "platform/PolygonScanner.h"

#include <gtest/gtest.h>

namespace {

// The outlines joined as the device context joins them: each back to its first point, then
// back to the very first point, so the joins add nothing under either rule.
std::vector<CPoint> Joined(const std::vector<CPoint>& points, const std::vector<int>& counts) {
    std::vector<CPoint> joined;
    std::size_t at = 0;
    for (int c : counts) {
        joined.insert(joined.end(), points.begin() + long(at), points.begin() + long(at) + c);
        joined.push_back(points[at]);
        joined.push_back(points[0]);
        at += std::size_t(c);
    }
    return joined;
}

TEST(PolygonSpans, CoversWhatThePolygonScannerCovers) {
    CrtRandom random;
    for (int round = 0; round < 300; ++round) {
        const int rings = 1 + random.rand() % 3;
        std::vector<CPoint> points;
        std::vector<int> counts;
        const int range = round % 2 ? 40 : 400; // small: many shared rows and vertices
        for (int r = 0; r < rings; ++r) {
            counts.push_back(3 + random.rand() % 12);
            for (int i = 0; i < counts.back(); ++i)
                points.push_back({random.rand() % range - 20, random.rand() % range - 20});
        }
        const int mode = round % 3 ? ALTERNATE : WINDING;
        const PolygonScanner scanner(Joined(points, counts), mode);
        const std::vector<POINT> plain(points.begin(), points.end());
        const PolygonSpans spans(plain, counts, mode);
        const CRect clip = round % 4 ? CRect(-30, -30, 500, 500) : CRect(-5, 3, 17, 25);
        std::vector<std::vector<bool>> mine(600, std::vector<bool>(600, false));
        spans.Scan(clip, [&](LONG y, const std::vector<PolygonSpans::Span>& row) {
            LONG last = clip.left - 1;
            for (const auto& s : row) {
                ASSERT_LT(last, s.x0) << "spans sorted and apart";
                ASSERT_LT(s.x0, s.x1);
                for (LONG x = s.x0; x < s.x1; ++x)
                    mine[std::size_t(y + 50)][std::size_t(x + 50)] = true;
                last = s.x1;
            }
        });
        std::vector<PolygonScanner::Span> row;
        for (LONG y = clip.top; y < clip.bottom; ++y) {
            std::vector<bool> theirs(600, false);
            scanner.Row(y, row);
            for (const auto& s : row) {
                for (LONG x = std::max(s.x0, clip.left); x < std::min(s.x1, clip.right); ++x)
                    theirs[std::size_t(x + 50)] = true;
            }
            ASSERT_EQ(mine[std::size_t(y + 50)], theirs) << "round " << round << " row " << y;
        }
    }
}

} // namespace
