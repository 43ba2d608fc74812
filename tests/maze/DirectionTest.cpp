#include "maze/DirectionChooser.h"
#include "maze/GrowthWeights.h"

#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SideCandidates Sides(std::initializer_list<int> open) {
    SideCandidates c{};
    for (int s : open) {
        c[static_cast<std::size_t>(s)] = 1;
        ++c[0];
    }
    return c;
}

} // namespace

TEST(DirectionChooser, DrawsOnceAndWalksTheWeightsInSideOrder) {
    CrtRandom random;
    random.srand(5);
    CrtRandom mirror;
    mirror.srand(5);
    DirectionChooser chooser(random);
    const std::vector<int> weights{3, 0, 2, 5};
    const auto candidates = Sides({1, 2, 3, 4});
    for (int i = 0; i < 200; ++i) {
        int r = mirror.rand() % 10;
        const int expected = r < 3 ? 1 : r < 5 ? 3 : 4;
        ASSERT_EQ(chooser.Choose(candidates, 4, weights), expected);
    }
    EXPECT_EQ(random.State(), mirror.State());
}

TEST(DirectionChooser, FailsWithoutDrawingWhenNothingWeighs) {
    CrtRandom random;
    random.srand(77);
    DirectionChooser chooser(random);
    const std::vector<int> weights{1, 0, 1, 0};
    EXPECT_EQ(chooser.Choose(Sides({2, 4}), 4, weights), 0);
    EXPECT_EQ(chooser.Choose(Sides({}), 4, SideWeights()), 0);
    const std::vector<int> negative{-4, 0, 0, 0};
    EXPECT_EQ(chooser.Choose(Sides({1, 2}), 4, negative), 0);
    EXPECT_EQ(random.State(), 77u);
    // Without weights each candidate weighs 1; a lone candidate still costs a draw.
    EXPECT_EQ(chooser.Choose(Sides({3}), 4, SideWeights()), 3);
    EXPECT_NE(random.State(), 77u);
}

TEST(DirectionChooser, HugeWeightsDoNotWrapTheSum) {
    CrtRandom random;
    DirectionChooser chooser(random);
    const std::vector<int> weights{2000000000, 2000000000, 1, 1};
    for (int i = 0; i < 50; ++i) {
        const int d = chooser.Choose(Sides({1, 2}), 4, weights);
        ASSERT_TRUE(d == 1) << d; // rand() never reaches past the first weight
    }
}

TEST(DirectionChooser, AnyFormDrawsOnlyWithSeveralCandidates) {
    CrtRandom random;
    random.srand(3);
    DirectionChooser chooser(random);
    EXPECT_EQ(chooser.ChooseAny(Sides({4}), 6), 4);
    EXPECT_EQ(chooser.ChooseAny(Sides({}), 6), 0);
    EXPECT_EQ(random.State(), 3u);
    CrtRandom mirror;
    mirror.srand(3);
    const int r = mirror.rand() % 3;
    EXPECT_EQ(chooser.ChooseAny(Sides({2, 5, 6}), 6), r == 0 ? 2 : r == 1 ? 5 : 6);
}

TEST(GrowthWeights, BlendsNeighbouringCompassPoints) {
    //                             C  N  NE E  SE S  SW W   NW
    const GrowthWeights::Compass c{0, 8, 4, 2, 6, 10, 20, 40, 16};
    // A box cell's sides face N, E, S, W.
    const std::vector<double> box{0, 90, 180, 270};
    EXPECT_EQ(GrowthWeights::Compute(c, box), (std::vector<int>{8, 2, 10, 40}));
    // The ring cell faces S, E, W, N, N.
    const std::vector<double> ring{180, 90, 270, 0, 0};
    EXPECT_EQ(GrowthWeights::Compute(c, ring), (std::vector<int>{10, 2, 40, 8, 8}));
    EXPECT_EQ(GrowthWeights::Interpolate(c, 22.5), 6);   // halfway N to NE
    EXPECT_EQ(GrowthWeights::Interpolate(c, 337.5), 12); // NW blends back into N
    EXPECT_EQ(GrowthWeights::Interpolate(c, -22.5), 12); // brought into 0..360
    EXPECT_EQ(GrowthWeights::Interpolate(c, 720.0 + 90), 2);
    EXPECT_EQ(GrowthWeights::Interpolate(c, 63.4), 3); // trunc(4*0.5911 + 2*0.4089)
    const GrowthWeights::Compass odd{0, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(GrowthWeights::Interpolate(odd, 44.0), 0); // truncated toward zero
}
