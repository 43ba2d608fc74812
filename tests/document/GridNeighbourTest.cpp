#include "tests/support/DocTestSupport.h"

#include "maze/RingPlan.h"
#include "maze/TemplateKind.h"
#include "maze/TemplateTables.h"

#include <set>
#include <tuple>

namespace {

// Every side of every cell that has a neighbour must be that neighbour's way back.
void ExpectStepsLeadBack(const CGridloomDoc& doc) {
    int neighbours = 0;
    for (int g = 0; g < doc.GridCount(); ++g) {
        const Object& grid = *doc.GetGrid(g);
        for (int r = 0; r < grid.Height(); ++r) {
            for (int c = 0; c < grid.Width(); ++c) {
                if (grid.GetCell(c, r).flags & CELL_ERASED)
                    continue; // past its ring's count
                for (int s = 1; s <= grid.SideCount(); ++s) {
                    const auto n = doc.FindNeighbour(c, r, g, s);
                    if (!n)
                        continue;
                    ++neighbours;
                    const auto back = doc.FindNeighbour(n->column, n->row, n->grid, n->side);
                    ASSERT_TRUE(back) << "grid " << g << " cell " << c << "," << r << " side " << s;
                    EXPECT_EQ(std::tie(back->column, back->row, back->grid, back->side),
                              std::tie(c, r, g, s))
                        << "grid " << g << " cell " << c << "," << r << " side " << s;
                }
            }
        }
    }
    EXPECT_GT(neighbours, 0);
}

} // namespace

TEST(TemplateTablesTest, EveryGridSideHasExactlyOneRuleAndShapesCloseProperly) {
    ASSERT_EQ(TemplateTables::All().size(), 7u);
    for (const TemplateInfo& t : TemplateTables::All()) {
        std::set<std::tuple<int, int, int>> seen;
        ASSERT_EQ(t.rules.back().fromGrid, -1) << "kind " << t.kind;
        for (const NeighbourRule& r : t.rules.first(t.rules.size() - 1)) {
            EXPECT_TRUE(seen.insert({r.fromGrid, r.fromSide, r.parity}).second) << t.kind;
            EXPECT_LT(r.toGrid, t.GridCount());
        }
        for (int g = 0; g < t.GridCount(); ++g) {
            const Object grid(t.shapes[g]);
            const auto shape = t.shapes[g];
            EXPECT_EQ(static_cast<int>(shape.size()), grid.SideCount() + 1) << t.kind;
            EXPECT_EQ(shape.back().corner, 0);
            EXPECT_EQ(shape[grid.SideCount() - 1].corner, grid.SideCount());
            for (int s = 1; s <= grid.SideCount(); ++s)
                EXPECT_TRUE(seen.count({g, s, 0}))
                    << "kind " << t.kind << " grid " << g << " side " << s;
        }
    }
    const int sides[][5] = {{4}, {6, 6, 6, 6}, {8, 4, 4, 8}, {4, 4}, {4, 4, 4, 4, 4}, {3, 3, 3, 3}};
    for (int kind = 0; kind <= 5; ++kind) {
        const TemplateInfo& t = *TemplateTables::Find(kind);
        for (int g = 0; g < t.GridCount(); ++g)
            EXPECT_EQ(Object(t.shapes[g]).SideCount(), sides[kind][g]) << kind << "/" << g;
    }
    EXPECT_EQ(TemplateTables::Find(6), nullptr);
}

class GridNeighbourTest : public DocTest,
                          public ::testing::WithParamInterface<std::tuple<int, bool, bool>> {};

TEST_P(GridNeighbourTest, PolygonStepsLeadBackWithAndWithoutWrapping) {
    const auto [kind, wrapH, wrapV] = GetParam();
    CGridloomDoc& doc = NewDoc(kind, 7, 6);
    doc.Settings().wrapHorizontally = wrapH;
    doc.Settings().wrapVertically = wrapV;
    ASSERT_EQ(doc.GridCount(), TemplateTables::Find(kind)->GridCount());
    ExpectStepsLeadBack(doc);
}

INSTANTIATE_TEST_SUITE_P(AllPolygonKinds, GridNeighbourTest,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3, 4, 5), ::testing::Bool(),
                                            ::testing::Bool()));

TEST_F(DocTest, RingStepsLeadBackAcrossDoublingAndEqualRings) {
    CGridloomDoc& doc = NewDoc(KIND_CIRCULAR, 10, 10);
    ASSERT_EQ(doc.GridCount(), 1);
    ASSERT_TRUE(doc.SetRingCounts({4, 8, 8, 16, 16, 16, 32}));
    EXPECT_EQ(doc.Settings().rows, 7);
    EXPECT_EQ(doc.Settings().columns, 32);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(8, 2).flags, CELL_ERASED);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(7, 2).flags, 0);
    ExpectStepsLeadBack(doc);

    // A real layout as the view computes it.
    const RingPlan plan = RingPlan::For(4000, 15, 0.05);
    ASSERT_TRUE(plan.Ok());
    ASSERT_TRUE(doc.SetRingCounts(plan.Counts()));
    ExpectStepsLeadBack(doc);
}

TEST_F(DocTest, RingEdgeCases) {
    CGridloomDoc& doc = NewDoc(KIND_CIRCULAR);
    ASSERT_TRUE(doc.SetRingCounts({5, 10, 10}));
    // Inward to a ring of half as many cells: odd cells enter side 4, even cells side 5.
    auto n = doc.FindNeighbour(5, 1, 0, 2);
    ASSERT_TRUE(n);
    EXPECT_EQ(std::tie(n->column, n->row, n->side), std::tuple(2, 0, 4));
    n = doc.FindNeighbour(4, 1, 0, 2);
    ASSERT_TRUE(n);
    EXPECT_EQ(std::tie(n->column, n->row, n->side), std::tuple(2, 0, 5));
    // Around the ring.
    n = doc.FindNeighbour(0, 1, 0, 1);
    EXPECT_EQ(std::tie(n->column, n->row, n->side), std::tuple(9, 1, 3));
    n = doc.FindNeighbour(9, 1, 0, 3);
    EXPECT_EQ(std::tie(n->column, n->row, n->side), std::tuple(0, 1, 1));
    // Between equal rings only side 4 leads out; the ends of the rings lead nowhere.
    EXPECT_TRUE(doc.FindNeighbour(3, 1, 0, 4));
    EXPECT_FALSE(doc.FindNeighbour(3, 1, 0, 5));
    EXPECT_FALSE(doc.FindNeighbour(3, 0, 0, 2));
    EXPECT_FALSE(doc.FindNeighbour(3, 2, 0, 4));
    // Hostile counts never step out of the ring or divide by zero.
    EXPECT_FALSE(doc.SetRingCounts({5, 0, 10}));
    EXPECT_FALSE(doc.SetRingCounts({3000000, 3000000}));
}

TEST_F(DocTest, PolygonEdgeCases) {
    CGridloomDoc& box = NewDoc(KIND_BOX, 10, 8);
    EXPECT_FALSE(box.FindNeighbour(3, 0, 0, 1));
    box.Settings().wrapVertically = 1;
    auto n = box.FindNeighbour(3, 0, 0, 1);
    ASSERT_TRUE(n);
    EXPECT_EQ(std::tie(n->column, n->row, n->side), std::tuple(3, 7, 3));

    CGridloomDoc& hex = NewDoc(KIND_HEX, 10, 8);
    EXPECT_FALSE(hex.FindNeighbour(0, 3, 0, 5));
    hex.Settings().wrapHorizontally = 1;
    n = hex.FindNeighbour(0, 3, 0, 5);
    ASSERT_TRUE(n);
    EXPECT_EQ(std::tie(n->column, n->row, n->grid, n->side), std::tuple(9, 3, 1, 2));

    CGridloomDoc& tri = NewDoc(KIND_TRIANGULAR, 10, 8);
    n = tri.FindNeighbour(4, 2, 0, 3);
    ASSERT_TRUE(n);
    EXPECT_EQ(std::tie(n->column, n->row, n->grid, n->side), std::tuple(3, 3, 1, 2));

    // A kind without templates builds nothing and steps nowhere.
    CGridloomDoc& none = NewDoc(7, 10, 8);
    EXPECT_EQ(none.GridCount(), 0);
    EXPECT_EQ(none.FindNeighbourRule(0, 0, 0, 1).fromGrid, -1);
    EXPECT_FALSE(none.FindNeighbour(0, 0, 0, 1));
}

TEST_F(DocTest, RebuildingForgetsTheOldGridsGrowth) {
    CGridloomDoc& doc = NewDoc(KIND_HEX, 6, 5);
    doc.seedPoints.push_back({1, 1});
    doc.frontier.Reshape({{6, 5}, {6, 5}, {6, 5}, {6, 5}});
    doc.frontier.Add({2, 3, 1});
    ASSERT_TRUE(doc.SetupGrids(true)); // kept grids keep their growth
    EXPECT_EQ(doc.frontier.Size(), 1u);
    doc.Settings().kind = KIND_BOX;
    ASSERT_TRUE(doc.SetupGrids(true)); // another kind can't keep the hex grids
    EXPECT_EQ(doc.GridCount(), 1);
    EXPECT_EQ(doc.frontier.Size(), 0u);
    EXPECT_TRUE(doc.seedPoints.empty());
}
