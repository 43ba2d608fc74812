#include "maze/CompassWeights.h"
#include "maze/MazeCell.h"
#include "maze/Object.h"
#include "maze/TemplateKind.h"
#include "maze/TemplateTables.h"

#include <gtest/gtest.h>

namespace {
const auto& BoxShape() {
    return TemplateTables::Find(KIND_BOX)->shapes[0];
}
} // namespace

TEST(MazeCellTest, PassageCountsAndFrontierMarks) {
    MazeCell cell;
    EXPECT_EQ(cell.CountPassages(), 0);
    cell.flags = CELL_START;
    EXPECT_EQ(cell.CountPassages(), 0); // an end without passages counts nothing
    int side = 0;
    cell.OpenSide(3);
    EXPECT_EQ(cell.CountPassages(&side), 2);
    EXPECT_EQ(side, 3);
    cell.OpenSide(16);
    side = 0;
    EXPECT_EQ(cell.CountPassages(&side), 3);
    EXPECT_EQ(side, 0);
    cell.CloseSide(3);
    EXPECT_TRUE(cell.HasPassage(16));
    EXPECT_FALSE(cell.HasPassage(3));
    // Sides out of 1..16 are ignored, not undefined.
    cell.OpenSide(0);
    cell.OpenSide(17);
    EXPECT_EQ(cell.passages, 0x8000);

    MazeCell free;
    EXPECT_TRUE(free.TryMarkFrontier());
    EXPECT_TRUE(free.TryMarkFrontier()); // already frontier: still succeeds
    EXPECT_TRUE(free.OpenSide(1));       // leaving the frontier is reported once
    EXPECT_FALSE(free.IsFrontier());
    EXPECT_FALSE(free.OpenSide(2));
    EXPECT_FALSE(free.TryMarkFrontier()); // carved
    for (WORD f : {WORD(CELL_BLACKENED), WORD(CELL_ERASED), WORD(0x0008)}) {
        MazeCell c{f, 0};
        EXPECT_FALSE(c.TryMarkFrontier()) << f;
    }
}

namespace {
struct RecordingFrontier : IFrontierTracker {
    void AddFrontier(int c, int r, int g) override { added.push_back({c, r, g}); }
    bool RemoveFrontier(int c, int r, int g) override {
        removed.push_back({c, r, g});
        return true;
    }
    std::vector<std::array<int, 3>> added, removed;
};
} // namespace

TEST(ObjectTest, AllocationKeepsOrResetsCellsAndRefusesHugeSizes) {
    Object grid(BoxShape());
    EXPECT_EQ(grid.SideCount(), 4);
    grid.initialFlags = CELL_BLACKENED;
    ASSERT_TRUE(grid.AllocateCells(3, 2));
    EXPECT_EQ(grid.GetCell(2, 1).flags, CELL_BLACKENED);
    grid.GetCell(2, 1) = MazeCell{CELL_START, 5};
    ASSERT_TRUE(grid.AllocateCells(3, 2));
    EXPECT_EQ(grid.GetCell(2, 1), (MazeCell{CELL_START, 5}));
    ASSERT_TRUE(grid.AllocateCells(2, 3));
    EXPECT_EQ(grid.GetCell(1, 2), (MazeCell{CELL_BLACKENED, 0}));
    EXPECT_TRUE(grid.InBounds(1, 2));
    EXPECT_FALSE(grid.InBounds(2, 0));
    EXPECT_FALSE(grid.InBounds(0, -1));

    // Past the cap (and with products that overflow 32 bits) nothing changes.
    EXPECT_FALSE(grid.AllocateCells(2001, 2000));
    EXPECT_FALSE(grid.AllocateCells(100000, 100000));
    EXPECT_FALSE(grid.AllocateCells(-1, 5));
    EXPECT_EQ(grid.Width(), 2);
    grid.initialFlags = 0;
    EXPECT_TRUE(grid.AllocateCells(2000, 2000));

    RecordingFrontier frontier;
    grid.MarkFrontier(4, 5, 0, frontier);
    grid.OpenSide(2, 4, 5, 0, frontier);
    grid.OpenSide(4, 4, 5, 0, frontier);
    EXPECT_EQ(frontier.added.size(), 1u);
    EXPECT_EQ(frontier.removed.size(), 1u);
    EXPECT_EQ(grid.CountPassages(4, 5), 2);
}

TEST(ObjectTest, RingGridsHaveFiveSides) {
    const TemplateInfo& ring = *TemplateTables::Find(KIND_CIRCULAR);
    Object grid(ring.shapes[0]);
    grid.SetGridType(GRID_RING);
    EXPECT_EQ(grid.SideCount(), 5);
}

TEST(CompassWeightsTest, SidesWeighByTheirDirection) {
    CompassWeights compass;
    compass.values = {9, 10, 20, 30, 40, 50, 60, 70, 80};
    Object box(BoxShape());
    EXPECT_EQ(compass.WeightsFor(box), (std::vector<int>{10, 30, 50, 70}));
    Object ring(TemplateTables::Find(KIND_CIRCULAR)->shapes[0]);
    ring.SetGridType(GRID_RING);
    EXPECT_EQ(compass.WeightsFor(ring), (std::vector<int>{50, 30, 70, 10, 10}));
}
