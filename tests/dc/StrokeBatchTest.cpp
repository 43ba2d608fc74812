#include "DcTestSupport.h"

#include "platform/CrtRandom.h"
#include "platform/PolylineBatch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A batch must draw exactly what one Polygon (closed) or Polyline (open) call per run draws:
// walls go through batches, and every picture of a maze depends on it. Closed runs are checked
// against the plain segment there and back, which no shortcut takes. Random runs, some of
// them single points repeated, some off the page, under a scaled and flipped mapping.
struct Scene {
    std::vector<std::vector<POINT>> runs;

    Scene(bool closed, unsigned seed) {
        CrtRandom random;
        random.srand(seed);
        for (int i = 0; i < 300; ++i) {
            const int n = closed ? 2 : 2 + random.rand() % 10;
            std::vector<POINT> run;
            for (int k = 0; k < n; ++k)
                run.push_back({random.rand() % 140 - 20, -(random.rand() % 110 - 20)});
            if (i % 17 == 0)
                run[1] = run[0]; // a wall of no length still shows a dot
            else if (i % 3 == 1)
                run[1].x = run[0].x; // walls along the lattice take a shorter way
            else if (i % 3 == 2)
                run[1].y = run[0].y;
            runs.push_back(run);
        }
    }
};

void Map(CDC& dc) {
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(100, -100);
    dc.SetViewportExt(97, 103);
    dc.SetViewportOrg(3, 2);
}

void ExpectSamePixels(RasterFixture& a, RasterFixture& b, const char* what) {
    int different = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 120; ++x)
            different += a.At(x, y) != b.At(x, y);
    EXPECT_EQ(different, 0) << what;
}

TEST(DcStrokeBatch, DrawsWhatOneCallPerRunDraws) {
    struct PenCase {
        int style, width, bkMode;
        const char* what;
    };
    const PenCase pens[] = {{PS_SOLID, 0, OPAQUE, "thin"},
                            {PS_DOT, 0, OPAQUE, "dotted, opaque gaps"},
                            {PS_DASHDOT, 0, TRANSPARENT, "dash-dot, clear gaps"},
                            {PS_SOLID, 3, OPAQUE, "wide"},
                            {PS_SOLID | PS_GEOMETRIC, 4, OPAQUE, "geometric"}};
    for (const bool closed : {true, false}) {
        const Scene scene(closed, closed ? 7u : 8u);
        for (const PenCase& p : pens) {
            RasterFixture single(120, 100), batched(120, 100);
            CPen pen(p.style, p.width, RGB(200, 0, 0));
            CBrush brush(RGB(0, 0, 255)); // two points enclose nothing to fill
            PolylineBatch batch(closed);
            for (RasterFixture* f : {&single, &batched}) {
                Map(f->dc);
                f->dc.SelectObject(&pen);
                f->dc.SelectObject(&brush);
                f->dc.SetBkMode(p.bkMode);
                f->dc.SetBkColor(RGB(0, 160, 0));
            }
            for (const auto& run : scene.runs) {
                const int n = static_cast<int>(run.size());
                // A closed two-point outline is the segment there and back.
                const POINT thereAndBack[] = {run[0], run[1], run[0]};
                if (closed && run[0].x == run[1].x && run[0].y == run[1].y)
                    single.dc.Polygon(run.data(), n);
                else if (closed)
                    single.dc.Polyline(thereAndBack, 3);
                else
                    single.dc.Polyline(run.data(), n);
                const std::vector<CPoint> points(run.begin(), run.end());
                batch.AddRun(points.data(), n);
            }
            ASSERT_TRUE(batched.dc.DrawBatch(batch));
            ExpectSamePixels(single, batched, p.what);
            EXPECT_GT(batched.CountNonWhite(), 500) << p.what;
        }
    }
}

} // namespace
