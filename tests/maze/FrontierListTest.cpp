#include "maze/FrontierList.h"

#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The plain list the index must behave exactly like: linear search, last entry into the hole.
class LinearFrontier {
public:
    bool Add(const frontier_location& e) {
        if (std::find(entries.begin(), entries.end(), e) != entries.end()) {
            return false;
        }
        entries.push_back(e);
        return true;
    }
    bool Remove(const frontier_location& e) {
        auto it = std::find(entries.begin(), entries.end(), e);
        if (it == entries.end()) {
            return false;
        }
        *it = entries.back();
        entries.pop_back();
        return true;
    }
    std::vector<frontier_location> entries;
};

} // namespace

TEST(FrontierList, KeepsTheOrderOfAPlainListUnderRandomUse) {
    FrontierList list;
    list.Reshape({{7, 5}, {3, 9}, {1, 1}});
    LinearFrontier plain;
    CrtRandom random;
    random.srand(99);
    for (int step = 0; step < 20000; ++step) {
        const int grid = random.rand() % 3;
        const int width = grid == 0 ? 7 : grid == 1 ? 3 : 1;
        const int height = grid == 0 ? 5 : grid == 1 ? 9 : 1;
        const frontier_location e{random.rand() % width, random.rand() % height, grid};
        switch (random.rand() % 3) {
        case 0:
        case 1:
            ASSERT_EQ(list.Add(e), plain.Add(e));
            break;
        default:
            ASSERT_EQ(list.Remove(e), plain.Remove(e));
            break;
        }
        if (!plain.entries.empty() && random.rand() % 7 == 0) {
            const std::size_t i = static_cast<std::size_t>(random.rand()) % plain.entries.size();
            plain.Remove(plain.entries[i]);
            list.RemoveAt(i);
        }
        ASSERT_EQ(list.Entries(), plain.entries) << "step " << step;
    }
    for (const auto& e : plain.entries) {
        EXPECT_TRUE(list.Contains(e));
    }
}

TEST(FrontierList, RefusesEntriesOutsideItsGridsAndClearsCompletely) {
    FrontierList list;
    list.Reshape({{4, 3}});
    EXPECT_FALSE(list.Add({4, 0, 0}));
    EXPECT_FALSE(list.Add({0, 3, 0}));
    EXPECT_FALSE(list.Add({-1, 0, 0}));
    EXPECT_FALSE(list.Add({0, 0, 1}));
    EXPECT_FALSE(list.Remove({9, 9, 9}));
    EXPECT_TRUE(list.Add({3, 2, 0}));
    EXPECT_TRUE(list.Add({0, 0, 0}));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.Contains({3, 2, 0}));
    EXPECT_TRUE(list.Add({3, 2, 0}));
    list.RemoveAt(5); // past the end: ignored
    EXPECT_EQ(list.Size(), 1u);
}

TEST(FrontierList, ReshapeDropsEntriesOutsideTheNewGridsAndKeepsTheOrder) {
    FrontierList list;
    list.Reshape({{5, 5}, {5, 5}});
    list.Add({4, 4, 0});
    list.Add({1, 1, 1});
    list.Add({2, 0, 0});
    list.Add({0, 4, 1});
    list.Reshape({{3, 5}});
    const std::vector<frontier_location> expected{{2, 0, 0}};
    EXPECT_EQ(list.Entries(), expected);
    list.Add({0, 0, 0});
    EXPECT_TRUE(list.Remove({2, 0, 0}));
    EXPECT_EQ(list[0], (frontier_location{0, 0, 0}));
}
