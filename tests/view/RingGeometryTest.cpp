#include "maze/MazeCell.h"
#include "maze/RingPlan.h"
#include "platform/PolylineBatch.h"
#include "view/RingCellGeometry.h"
#include "view/RingLayout.h"
#include "view/RingWalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// A portrait page area as the screen buffer covers it: 7510 by 9500 units, band 250.
RingLayout PortraitLayout(int ring0Count = 15, double fraction = 0.05) {
    std::string error;
    auto layout = RingLayout::Fit(7510, -9500, 250, ring0Count, fraction, error);
    EXPECT_TRUE(layout) << error;
    return *layout;
}

std::vector<int> CountsOf(const RingLayout& l, double fraction) {
    const RingPlan plan = RingPlan::For(l.OuterRadius(), l.Ring0Count(), fraction);
    EXPECT_TRUE(plan.Ok()) << plan.Error();
    return plan.Counts();
}

} // namespace

TEST(RingLayout, CentresTheCircleAgainstTheShorterSide) {
    const RingLayout portrait = PortraitLayout();
    EXPECT_EQ(portrait.CentreX(), 3755);
    EXPECT_EQ(portrait.CentreY(), -3755); // touches the top of the page
    EXPECT_EQ(portrait.OuterRadius(), 3717);

    std::string error;
    auto landscape = RingLayout::Fit(9500, -7510, 250, 15, 0.05, error);
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->CentreY(), (-7510 + 250) / 2);
    EXPECT_EQ(landscape->CentreX(), 3630); // touches the left edge
    EXPECT_NEAR(landscape->RingWidth(), 2 * M_PI * landscape->InnerRadius() / 15, 1e-9);
    EXPECT_DOUBLE_EQ(landscape->AngleStep(), 24.0);
}

TEST(RingLayout, CellsDoubleOnceTheArcReachesTwoRingWidths) {
    const auto counts = CountsOf(PortraitLayout(), 0.05);
    // Ring i doubles at the first i with i x w >= (2 mult - 1) x r0, i.e. i >= (2 mult - 1) x
    // 15 / (2 pi): rings 3, 8, 17 and 36; 45 rings fit between r0 and R.
    ASSERT_EQ(counts.size(), 45u);
    for (int i = 0; i < 45; ++i) {
        const int expected = i < 3 ? 15 : i < 8 ? 30 : i < 17 ? 60 : i < 36 ? 120 : 240;
        EXPECT_EQ(counts[i], expected) << "ring " << i;
    }
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 5175);

    // A ring-0 count that does not divide 360 keeps its fractional angle step.
    const auto seven = PortraitLayout(7, 0.2);
    EXPECT_NEAR(seven.AngleStep(), 360.0 / 7, 1e-12);
    const auto sevenCounts = CountsOf(seven, 0.2);
    ASSERT_FALSE(sevenCounts.empty());
    for (std::size_t i = 1; i < sevenCounts.size(); ++i)
        EXPECT_TRUE(sevenCounts[i] == sevenCounts[i - 1] ||
                    sevenCounts[i] == 2 * sevenCounts[i - 1]);
}

TEST(RingLayout, RefusesSettingsThatCannotBeLaidOut) {
    std::string error;
    EXPECT_FALSE(RingLayout::Fit(7510, -9500, 250, 0, 0.05, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(RingLayout::Fit(7510, -9500, 250, 15, 0.0, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    // Rings under one unit wide: a tiny inner radius shared by many cells.
    EXPECT_FALSE(RingLayout::Fit(7510, -9500, 250, 5000, 0.01, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(RingLayout::Fit(0, 0, 250, 15, 0.05, error));
    error.clear();
}

TEST(RingCellGeometry, OutlinesAndWallsMeetOnSharedSides) {
    const RingLayout layout = PortraitLayout();
    const RingCellGeometry g(layout, CountsOf(layout, 0.05));
    std::vector<CPoint> outline, side, other;
    for (int ring = 0; ring < g.Rings(); ++ring) {
        EXPECT_EQ(g.SideCount(ring),
                  ring + 1 < g.Rings() && g.CellsIn(ring + 1) > g.CellsIn(ring) ? 5 : 4);
        for (int c = 0; c < g.CellsIn(ring); ++c) {
            g.Outline(c, ring, outline);
            ASSERT_EQ(outline.size(), g.SideCount(ring) == 5 ? 37u : 26u);
            // The radial at the end angle is the next cell's radial at its start.
            g.Side(c, ring, 3, side);
            g.Side((c + 1) % g.CellsIn(ring), ring, 1, other);
            EXPECT_EQ(side, other);
            if (ring + 1 == g.Rings())
                continue;
            // Outer walls meet the inner walls of the cells outside.
            const int k = g.CellsIn(ring);
            if (g.SideCount(ring) == 5) {
                g.Side(c, ring, 5, side);
                g.Side(2 * c, ring + 1, 2, other);
                EXPECT_EQ(side, other);
                g.Side(c, ring, 4, side);
                g.Side(2 * c + 1, ring + 1, 2, other);
                EXPECT_EQ(side, other);
            } else {
                ASSERT_EQ(g.CellsIn(ring + 1), k);
                g.Side(c, ring, 4, side);
                g.Side(c, ring + 1, 2, other);
                EXPECT_EQ(side, other);
            }
        }
    }
}

// The walls a whole ring's shared boundary points give, ring after ring as a full render
// loads them, and those of a single cell's own load, are the sides point by point.
TEST(RingCellGeometry, RingWallsAreTheSides) {
    for (const auto& [ring0, fraction] : {std::pair{15, 0.05}, {6, 0.3}, {108, 0.05}}) {
        const RingLayout layout = PortraitLayout(ring0, fraction);
        const RingCellGeometry g(layout, CountsOf(layout, fraction));
        RingWalls whole(g);
        PolylineBatch expected(false), fromRing(false), fromCell(false);
        std::vector<CPoint> side;
        for (int ring = 0; ring < g.Rings(); ++ring) {
            whole.Load(ring, 0, g.CellsIn(ring) - 1);
            for (int c = 0; c < g.CellsIn(ring); ++c) {
                MazeCell cell;
                cell.passages = static_cast<WORD>((c * 7 + ring * 3) % 32);
                for (int s = 1; s <= g.SideCount(ring); ++s) {
                    if (cell.HasPassage(s))
                        continue;
                    g.Side(c, ring, s, side);
                    expected.AddRun(side.data(), static_cast<int>(side.size()));
                }
                whole.AddWalls(cell, c, fromRing);
                RingWalls one(g);
                one.Load(ring, c, c);
                one.AddWalls(cell, c, fromCell);
            }
        }
        ASSERT_FALSE(expected.Empty());
        EXPECT_EQ(fromRing.Points(), expected.Points()) << ring0;
        EXPECT_EQ(fromRing.Counts(), expected.Counts()) << ring0;
        EXPECT_EQ(fromCell.Points(), expected.Points()) << ring0;
        EXPECT_EQ(fromCell.Counts(), expected.Counts()) << ring0;
    }
}

TEST(RingCellGeometry, CandidatesHoldTheCellAtEveryCentre) {
    const RingLayout layout = PortraitLayout(6, 0.1);
    const RingCellGeometry g(layout, CountsOf(layout, 0.1));
    std::vector<std::pair<int, int>> candidates;
    for (int ring = 0; ring < g.Rings(); ++ring) {
        for (int c = 0; c < g.CellsIn(ring); ++c) {
            g.Candidates(g.Centre(c, ring), 0, candidates);
            EXPECT_NE(std::find(candidates.begin(), candidates.end(), std::make_pair(c, ring)),
                      candidates.end());
        }
    }
    g.Candidates({layout.CentreX(), layout.CentreY()}, 0, candidates);
    EXPECT_TRUE(candidates.empty());
    g.Candidates({layout.CentreX(), layout.CentreY() + layout.OuterRadius() + 100}, 0, candidates);
    EXPECT_TRUE(candidates.empty());
}
