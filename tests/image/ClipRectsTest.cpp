// Clip regions as rectangles: every combination must cover exactly the pixels the set
// operation gives, with the rectangles kept apart.
#include "image/metafile/ClipRects.h"

#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <bitset>

namespace {

constexpr int kSide = 24;
using Pixels = std::bitset<kSide * kSide>;

Pixels Cover(const ClipRects& region) {
    Pixels p;
    for (const CRect& r : region.Rects()) {
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x) {
                EXPECT_FALSE(p[std::size_t(y * kSide + x)]) << "rectangles overlap";
                p.set(std::size_t(y * kSide + x));
            }
    }
    return p;
}

TEST(ClipRects, CombinesAsSetsDo) {
    CrtRandom random;
    auto rect = [&] {
        const LONG l = random.rand() % kSide, t = random.rand() % kSide;
        return CRect(l, t, l + 1 + random.rand() % (kSide - l),
                     t + 1 + random.rand() % (kSide - t));
    };
    for (int round = 0; round < 200; ++round) {
        ClipRects a(rect()), b(rect());
        a.Unite(ClipRects(rect()));
        b.Subtract(rect());
        const Pixels pa = Cover(a), pb = Cover(b);
        ClipRects both = a, either = a, less = a, odd = a;
        both.Intersect(b);
        either.Unite(b);
        less.Subtract(b);
        ClipRects common = a; // exclusive or, as the player builds it
        common.Intersect(b);
        odd.Unite(b);
        odd.Subtract(common);
        EXPECT_EQ(Cover(both), pa & pb);
        EXPECT_EQ(Cover(either), pa | pb);
        EXPECT_EQ(Cover(less), pa & ~pb);
        EXPECT_EQ(Cover(odd), pa ^ pb);
        const CRect box = either.Box();
        for (const CRect& r : either.Rects()) {
            CRect inside;
            inside.IntersectRect(r, box);
            EXPECT_EQ(inside, r);
        }
    }
}

TEST(ClipRects, StandsForItsBoxPastTheLimit) {
    ClipRects many;
    for (LONG i = 0; i < LONG(ClipRects::kMost) + 1; ++i)
        many.Unite(ClipRects(CRect(2 * i, 0, 2 * i + 1, 1)));
    ASSERT_EQ(many.Rects().size(), 1u);
    EXPECT_EQ(many.Rects()[0], CRect(0, 0, 2 * LONG(ClipRects::kMost) + 1, 1));
}

} // namespace
