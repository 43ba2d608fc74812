#include "dialogs/CUltraSplash.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using Rect = CUltraSplash::Rect;

// Every step until the reveal completes (bounded, so a stepper that never ends fails).
std::vector<std::optional<Rect>> RunAll(CUltraSplash& splash) {
    std::vector<std::optional<Rect>> steps;
    while (splash.Revealing() && steps.size() < 100000)
        steps.push_back(splash.Step());
    return steps;
}

std::size_t Copies(const std::vector<std::optional<Rect>>& steps) {
    std::size_t n = 0;
    for (const auto& s : steps)
        n += s.has_value();
    return n;
}

} // namespace

TEST(SplashStepper, LinesRunToTheirEdgeAndTheLastStepCopiesNothing) {
    CUltraSplash right(100, 50, 1);
    right.SetEffect(2);
    const auto steps = RunAll(right);
    ASSERT_EQ(steps.size(), 100u); // columns 98..0, then the completing step
    for (int i = 0; i < 99; ++i)
        EXPECT_EQ(steps[static_cast<std::size_t>(i)], (Rect{98 - i, 0, 1, 50}));
    EXPECT_FALSE(steps.back().has_value());
    EXPECT_EQ(right.Effect(), CUltraSplash::kFinished);
    EXPECT_FALSE(right.Step().has_value());

    CUltraSplash down(30, 40, 1);
    down.SetEffect(3);
    const auto rows = RunAll(down);
    EXPECT_EQ(Copies(rows), 40u);
    EXPECT_EQ(*rows.front(), (Rect{0, 0, 30, 1}));
    EXPECT_EQ(*rows[39], (Rect{0, 39, 30, 1}));

    CUltraSplash up(30, 40, 1);
    up.SetEffect(4);
    EXPECT_EQ(*up.Step(), (Rect{0, 38, 30, 1}));

    // Degenerate pictures finish at once instead of stepping forever.
    for (int effect = 1; effect <= 7; ++effect) {
        CUltraSplash empty(0, -5, 1);
        empty.SetEffect(effect);
        const auto s = RunAll(empty);
        EXPECT_LT(s.size(), 500u) << effect;
        EXPECT_FALSE(empty.Revealing()) << effect;
    }
}

TEST(SplashStepper, BlindsCoverEveryLineOnceIncludingAPartStripPastTheEdge) {
    CUltraSplash blinds(410, 60, 1);
    blinds.SetEffect(5);
    EXPECT_EQ(blinds.StripCount(), 21);
    const auto steps = RunAll(blinds);
    std::multiset<int> columns;
    for (const auto& s : steps)
        if (s) {
            EXPECT_EQ(s->width, 1);
            EXPECT_EQ(s->height, 60);
            columns.insert(s->x);
        }
    EXPECT_EQ(columns.size(), 21u * 20u);
    for (int x = 0; x < 420; ++x)
        EXPECT_EQ(columns.count(x), 1u) << x;
    // Each pass ends with one step that copies nothing, then the completing step.
    EXPECT_EQ(steps.size(), 20u * 22u + 1u);

    CUltraSplash rows(50, 45, 1);
    rows.SetEffect(6);
    EXPECT_EQ(rows.StripCount(), 3);
    EXPECT_EQ(*rows.Step(), (Rect{0, 0, 50, 1}));
    EXPECT_EQ(*rows.Step(), (Rect{0, 20, 50, 1}));
}

TEST(SplashStepper, DissolveShowsEachBlockOnceFromItsOwnGenerator) {
    CrtRandom::Main().srand(777);
    const int expected = [] {
        CrtRandom copy;
        copy.srand(777);
        return copy.rand();
    }();

    CUltraSplash dissolve(410, 300, 12345);
    dissolve.SetEffect(7);
    EXPECT_EQ(dissolve.BlockWidth(), 21);
    EXPECT_EQ(dissolve.BlockHeight(), 15);
    EXPECT_EQ(dissolve.StepInterval(), 5);
    const auto steps = RunAll(dissolve);
    EXPECT_EQ(Copies(steps), 400u);
    std::set<std::pair<int, int>> blocks;
    for (const auto& s : steps)
        if (s) {
            EXPECT_EQ(s->width, 21);
            EXPECT_EQ(s->height, 15);
            blocks.insert(std::make_pair(s->x, s->y));
        }
    EXPECT_EQ(blocks.size(), 400u);

    // The same seed dissolves in the same order; the program's main sequence is untouched.
    CUltraSplash again(410, 300, 12345);
    again.SetEffect(7);
    EXPECT_EQ(RunAll(again), steps);
    EXPECT_EQ(CrtRandom::Main().rand(), expected);

    // A random choice is always one of the seven.
    std::set<int> chosen;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        CUltraSplash any(10, 10, seed);
        any.SetEffect(0);
        chosen.insert(any.Effect());
    }
    EXPECT_EQ(chosen, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST(SplashStepper, ClosingIsRefusedUntilHidden) {
    CUltraSplash splash(10, 10, 1);
    splash.SetEffect(1);
    EXPECT_FALSE(splash.MayClose());
    RunAll(splash);
    EXPECT_FALSE(splash.MayClose()); // a finished reveal still waits for the program
    splash.SetDone();
    EXPECT_TRUE(splash.MayClose());
}
