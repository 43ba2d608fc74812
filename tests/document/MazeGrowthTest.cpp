#include "MazeCheck.h"
#include "tests/support/DocTestSupport.h"

#include "maze/ICellPainter.h"
#include "maze/NeighbourCache.h"
#include "maze/TemplateKind.h"
#include "platform/CrtRandom.h"
#include "res/CommandIds.h"

#include <vector>

namespace {

// Blackens and whitens a scattering of cells, never the automatic ends.
void PunchHoles(CGridloomDoc& doc, int seed) {
    CrtRandom pattern;
    pattern.srand(static_cast<std::uint32_t>(seed));
    for (int g = 0; g < doc.GridCount(); ++g) {
        const Object& grid = *doc.GetGrid(g);
        for (int r = 0; r < grid.Height(); ++r) {
            for (int c = 0; c < grid.Width(); ++c) {
                const bool end = (g == 0 && c == 0 && r == 0) ||
                                 (g == doc.GridCount() - 1 && c == doc.Settings().columns - 1 &&
                                  r == doc.Settings().rows - 1);
                const int roll = pattern.rand() % 20;
                if (!end && grid.GetCell(c, r).flags == 0 && roll < 2) {
                    doc.SetCellFlags(c, r, g, roll == 0 ? CELL_BLACKENED : CELL_ERASED);
                }
            }
        }
    }
}

std::vector<MazeCell> AllCells(const CGridloomDoc& doc) {
    std::vector<MazeCell> cells;
    for (int g = 0; g < doc.GridCount(); ++g) {
        const auto span = doc.GetGrid(g)->Cells();
        cells.insert(cells.end(), span.begin(), span.end());
    }
    return cells;
}

struct Shape {
    int kind;
    bool wrapH;
    bool wrapV;
    bool holes;
};

class MazeGrowthTest : public DocTest, public ::testing::WithParamInterface<Shape> {};

} // namespace

TEST_P(MazeGrowthTest, GrowsASolvedTreeThroughTheReachableCells) {
    const Shape shape = GetParam();
    CGridloomDoc& doc = NewDoc(shape.kind, 13, 11);
    if (shape.kind == KIND_CIRCULAR) {
        // A one-cell centre meets itself around the ring; equal and doubling rings follow.
        ASSERT_TRUE(doc.SetRingCounts({1, 2, 4, 8, 8, 16, 16, 32}));
    }
    doc.Settings().wrapHorizontally = shape.wrapH;
    doc.Settings().wrapVertically = shape.wrapV;
    if (shape.holes) {
        PunchHoles(doc, shape.kind * 4 + shape.wrapH * 2 + shape.wrapV);
    }
    for (int seed : {1234, 7, 31337}) {
        doc.ClearMaze(false);
        doc.Settings().seed = seed;
        doc.OnGenerateMaze();
        const MazeCheck maze(doc);
        EXPECT_EQ(maze.problems, "") << "seed " << seed;
        EXPECT_TRUE(maze.IsTree()) << "seed " << seed << ": " << maze.carved << " cells, "
                                   << maze.openSides << " open sides";
        EXPECT_TRUE(doc.frontier.Empty());
        if (!shape.holes) {
            long cells = 0;
            for (int g = 0; g < doc.GridCount(); ++g) {
                for (const MazeCell& c : doc.GetGrid(g)->Cells()) {
                    cells += (c.flags & CELL_ERASED) ? 0 : 1;
                }
            }
            EXPECT_EQ(maze.carved, cells) << "every cell joins an unbroken template";
        }
        const auto path = maze.PathBetweenEnds();
        if (!path.empty()) {
            EXPECT_EQ(maze.SolutionCells(), path) << "seed " << seed;
        } else {
            EXPECT_EQ(maze.solutionCells, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, MazeGrowthTest,
    ::testing::Values(
        Shape{KIND_BOX, false, false, false}, Shape{KIND_BOX, true, true, true},
        Shape{KIND_BOX, true, false, false}, Shape{KIND_HEX, false, false, true},
        Shape{KIND_HEX, true, true, false}, Shape{KIND_OCTAGON_BOX, false, false, false},
        Shape{KIND_OCTAGON_BOX, true, true, true}, Shape{KIND_TRIANGULAR, false, false, true},
        Shape{KIND_TRIANGULAR, true, true, false}, Shape{KIND_TRAPEZOID_BOX, false, false, false},
        Shape{KIND_TRAPEZOID_BOX, true, false, true}, Shape{KIND_QUAD_TRIANGLE, false, true, true},
        Shape{KIND_QUAD_TRIANGLE, true, true, false}, Shape{KIND_CIRCULAR, false, false, false},
        Shape{KIND_CIRCULAR, false, false, true}),
    [](const ::testing::TestParamInfo<Shape>& info) {
        const Shape& s = info.param;
        return "kind" + std::to_string(s.kind) + (s.wrapH ? "_wrapH" : "") +
               (s.wrapV ? "_wrapV" : "") + (s.holes ? "_holes" : "");
    });

namespace {

// Counts what an animating view would redraw; draws nothing and never waits.
class QuietPainter : public ICellPainter {
public:
    void DrawPolygonCell(int, int, int, int) override { ++cells; }
    void DrawRingCell(int, int, int, int) override { ++cells; }
    void Pause(int) override {}
    long cells = 0;
};

} // namespace

// A view that animates must not change which maze a seed grows, on any template.
TEST_P(MazeGrowthTest, AnimatedAndQuietGrowthMakeTheSameMaze) {
    const Shape shape = GetParam();
    QuietPainter painter;
    std::vector<MazeCell> grown[2];
    std::uint32_t random[2] = {};
    for (int animate : {0, 1}) {
        CGridloomDoc& doc = NewDoc(shape.kind, 13, 11);
        if (shape.kind == KIND_CIRCULAR) {
            ASSERT_TRUE(doc.SetRingCounts({1, 2, 4, 8, 8, 16, 16, 32}));
        }
        doc.Settings().wrapHorizontally = shape.wrapH;
        doc.Settings().wrapVertically = shape.wrapV;
        doc.Settings().compass.values[CompassWeights::E] = 3;
        doc.UpdateGrowthWeights();
        if (shape.holes) {
            PunchHoles(doc, shape.kind + 7);
        }
        doc.Settings().seed = 77;
        doc.Settings().animate = animate;
        doc.Settings().animationDelay = 1;
        doc.SetCellPainter(&painter);
        doc.OnGenerateMaze();
        doc.SetCellPainter(nullptr);
        grown[animate] = AllCells(doc);
        random[animate] = CrtRandom::Main().State();
    }
    EXPECT_GT(painter.cells, 100);
    EXPECT_EQ(grown[1], grown[0]);
    EXPECT_EQ(random[1], random[0]);
}

TEST_F(DocTest, NeighbourLookupsMatchTheDocumentsStepping) {
    for (int kind : {0, 1, 2, 3, 4, 5, 40}) {
        for (int wrap = 0; wrap < 4; ++wrap) {
            CGridloomDoc& doc = NewDoc(kind, 5, 4);
            if (kind == KIND_CIRCULAR) {
                ASSERT_TRUE(doc.SetRingCounts({3, 6, 6, 12}));
            }
            doc.Settings().wrapHorizontally = wrap & 1;
            doc.Settings().wrapVertically = wrap >> 1;
            const NeighbourCache cache(doc.Grids());
            for (int g = 0; g < doc.GridCount(); ++g) {
                const Object& grid = *doc.GetGrid(g);
                for (int r = 0; r < grid.Height(); ++r) {
                    for (int c = 0; c < grid.Width(); ++c) {
                        for (int s = 1; s <= grid.SideCount(); ++s) {
                            const auto want = doc.FindNeighbour(c, r, g, s);
                            NeighbourCache::Neighbour got{};
                            ASSERT_EQ(cache.Find(c, r, g, s, got), want.has_value())
                                << kind << " " << g << " " << c << "," << r << " " << s;
                            if (want) {
                                EXPECT_EQ(
                                    std::tie(got.column, got.row, got.grid, got.side),
                                    std::tie(want->column, want->row, want->grid, want->side));
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST_F(DocTest, ASeedGrowsTheSameMazeAndMinusOneRunsTheSequenceOn) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    doc.Settings().seed = 1234;
    doc.OnGenerateMaze();
    const auto first = AllCells(doc);
    const CPoint firstStart = doc.seedPoints.at(0);
    doc.ClearMaze(false);
    doc.cursorColumn = doc.cursorRow = -1;
    doc.OnGenerateMaze();
    EXPECT_EQ(AllCells(doc), first);
    EXPECT_EQ(doc.seedPoints.at(0), firstStart);

    // The same draws on a second document give the same maze.
    CGridloomDoc other(Profile());
    other.Settings() = doc.Settings();
    other.SetupGrids(false);
    other.OnGenerateMaze();
    EXPECT_EQ(AllCells(other), first);

    doc.ClearMaze(false);
    doc.cursorColumn = doc.cursorRow = -1;
    doc.Settings().seed = -1;
    doc.OnGenerateMaze();
    EXPECT_NE(AllCells(doc), first);
    EXPECT_TRUE(MazeCheck(doc).IsTree());
}

TEST_F(DocTest, DrawsRandomNumbersInAFixedOrder) {
    // Three cells in a row: start column and row, the first step, then one pick and one join.
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 1);
    doc.Settings().seed = 99;
    doc.OnGenerateMaze();
    CrtRandom mirror;
    mirror.srand(99);
    const int column = mirror.rand() % 3;
    mirror.rand(); // row % 1
    const int step = mirror.rand() % (column == 1 ? 2 : 1);
    mirror.rand(); // the pick among one entry
    mirror.rand(); // its one join
    EXPECT_EQ(CrtRandom::Main().State(), mirror.State());
    EXPECT_EQ(doc.seedPoints.at(0), CPoint(column, 0));
    const MazeCell& first = doc.GetGrid(0)->GetCell(column, 0);
    if (column == 1) {
        EXPECT_EQ(first.passages, 0b1010); // both sides: the step and the join
        // The cursor ends on the cell that joined last: the one the step did not reach.
        EXPECT_EQ(doc.cursorColumn, step == 0 ? 0 : 2);
    } else {
        EXPECT_EQ(first.passages, column == 0 ? 0b0010 : 0b1000);
    }
}

namespace {

// Watches the carving as an animating view would and checks each choice of a side.
class ChoiceWatcher : public ICellPainter {
public:
    explicit ChoiceWatcher(CGridloomDoc& doc) : doc_(doc), seen_(AllCells(doc)) {}
    void DrawPolygonCell(int column, int row, int grid, int pass) override {
        EXPECT_EQ(pass, 1);
        const auto now = AllCells(doc_);
        const Object& g = *doc_.GetGrid(grid);
        const std::size_t i = static_cast<std::size_t>(column + row * g.Width());
        const WORD added = now[i].passages & static_cast<WORD>(~seen_[i].passages);
        seen_ = now;
        for (int s = 1; s <= 4; ++s) {
            if (!(added & (1 << (s - 1)))) {
                continue;
            }
            const auto n = doc_.FindNeighbour(column, row, grid, s);
            ASSERT_TRUE(n);
            if (g.GetCell(n->column, n->row).HasPassage(n->side)) {
                continue; // the cell was entered, not chosen from
            }
            if (doc_.previousDirection >= 1) {
                ++weighted;
                EXPECT_NE(s, 2) << "east chosen with weights at " << column << "," << row;
            } else if (s == 2) {
                ++eastWithoutWeights;
            }
        }
    }
    void DrawRingCell(int, int, int, int) override { ADD_FAILURE(); }
    void Pause(int) override {}

    int weighted = 0;
    int eastWithoutWeights = 0;

private:
    CGridloomDoc& doc_;
    std::vector<MazeCell> seen_;
};

} // namespace

TEST_F(DocTest, AZeroEastWeightNeverCarvesEastOnceADirectionIsSet) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 12, 12);
    doc.Settings().compass.values[CompassWeights::E] = 0;
    doc.UpdateGrowthWeights();
    doc.Settings().animate = 1;
    int eastFirst = 0;
    for (int seed = 1; seed <= 12; ++seed) {
        doc.ClearMaze(false);
        doc.cursorColumn = doc.cursorRow = -1;
        doc.Settings().seed = seed;
        ChoiceWatcher watcher(doc);
        doc.SetCellPainter(&watcher);
        doc.OnGenerateMaze();
        doc.SetCellPainter(nullptr);
        EXPECT_GT(watcher.weighted, 100);
        eastFirst += watcher.eastWithoutWeights;
        EXPECT_TRUE(MazeCheck(doc).IsTree());
    }
    EXPECT_GT(eastFirst, 0) << "unweighted choices may still go east";
}

namespace {

// A fingerprint of every cell and of where the random sequence stands.
std::uint64_t Fingerprint(const CGridloomDoc& doc) {
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](std::uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ull;
    };
    for (const MazeCell& cell : AllCells(doc)) {
        mix(cell.flags);
        mix(cell.passages);
    }
    mix(CrtRandom::Main().State());
    return hash;
}

} // namespace

// Documents store seeds, not mazes: a seed must keep growing the very maze it grew before, so
// any change to the order of draws, the frontier's order or the solver shows up here.
TEST_F(DocTest, SeedsKeepGrowingTheMazesTheyGrewBefore) {
    struct Case {
        Shape shape;
        std::uint64_t fingerprint;
    };
    const Case cases[] = {
        {{KIND_BOX, false, false, false}, 10582386494913270457ull},
        {{KIND_BOX, true, true, true}, 10530332395640137727ull},
        {{KIND_BOX, false, false, true}, 1972834717434427367ull},
        {{KIND_HEX, false, false, true}, 13891471518075495018ull},
        {{KIND_HEX, true, true, false}, 14378355375432564135ull},
        {{KIND_OCTAGON_BOX, false, false, true}, 13500320929228079819ull},
        {{KIND_OCTAGON_BOX, true, true, false}, 1237745420819222000ull},
        {{KIND_TRIANGULAR, false, false, true}, 13692230251422425481ull},
        {{KIND_TRIANGULAR, true, false, false}, 5101366598683085223ull},
        {{KIND_TRAPEZOID_BOX, false, true, true}, 8644624545570258588ull},
        {{KIND_TRAPEZOID_BOX, false, false, true}, 6142678521154986854ull},
        {{KIND_QUAD_TRIANGLE, true, true, true}, 13334889987127363823ull},
        {{KIND_QUAD_TRIANGLE, false, false, false}, 8827502650958485947ull},
        {{KIND_CIRCULAR, false, false, false}, 11742243029997614840ull},
        {{KIND_CIRCULAR, false, false, true}, 10982997918920078085ull},
    };
    for (const Case& c : cases) {
        const Shape& shape = c.shape;
        CGridloomDoc& doc = NewDoc(shape.kind, 23, 17);
        if (shape.kind == KIND_CIRCULAR) {
            ASSERT_TRUE(doc.SetRingCounts({1, 6, 12, 12, 24, 24, 48}));
        }
        doc.Settings().wrapHorizontally = shape.wrapH;
        doc.Settings().wrapVertically = shape.wrapV;
        // Uneven compass weights, so the weighted choice is pinned too.
        doc.Settings().compass.values[CompassWeights::E] = 3;
        doc.UpdateGrowthWeights();
        if (shape.holes) {
            PunchHoles(doc, shape.kind + 100);
        }
        doc.Settings().seed = 4321;
        doc.OnGenerateMaze();
        // Draw Solution on a corner cell and regrowing from the seed points draw on as well.
        doc.DrawSolutionCell(1, 1, 0);
        doc.RegenerateMaze();
        EXPECT_EQ(Fingerprint(doc), c.fingerprint)
            << "kind " << shape.kind << " wrap " << shape.wrapH << shape.wrapV << " holes "
            << shape.holes;
    }
}

TEST_F(DocTest, FileNewReseedsForASeedButNotForMinusOne) {
    // Make Maze after File New, twice: a seed repeats its maze, -1 grows a new one each time.
    // The cursor would start the second maze where the first ended: both start at random.
    const auto grownAfterFileNew = [](CGridloomDoc& doc) {
        doc.OnFileNew();
        doc.cursorColumn = doc.cursorRow = -1;
        doc.OnGenerateMaze();
        return AllCells(doc);
    };
    CGridloomDoc& doc = NewDoc(KIND_BOX, 12, 12);
    doc.Settings().seed = 1234;
    const auto seeded = grownAfterFileNew(doc);
    EXPECT_EQ(grownAfterFileNew(doc), seeded);

    doc.Settings().seed = -1;
    const auto first = grownAfterFileNew(doc);
    const auto second = grownAfterFileNew(doc);
    EXPECT_NE(first, second);
    EXPECT_NE(first, seeded);
    EXPECT_TRUE(MazeCheck(doc).IsTree());
}

TEST_F(DocTest, MakeMazeThatCannotStartChangesNothingSaysSoAndFileNewStartsAgain) {
    // A walk on large grids ends far out; File New on smaller ones must not keep that cell.
    CGridloomDoc& doc = NewDoc(KIND_BOX, 30, 30);
    doc.Settings().seed = 77;
    doc.RunCommand(ID_MAKE_MAZE);
    doc.cursorColumn = doc.cursorRow = 25;
    doc.Settings().columns = 20;
    doc.Settings().rows = 15;
    doc.OnFileNew();
    doc.RunCommand(ID_MAKE_MAZE);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
    EXPECT_TRUE(MazeCheck(doc).IsTree());
    EXPECT_EQ(doc.GetGrid(0)->Width(), 20);

    // Make Maze again on the finished maze: nothing is free to start from.
    const auto cells = AllCells(doc);
    const std::uint32_t random = CrtRandom::Main().State();
    doc.SetModifiedFlag(false);
    doc.RunCommand(ID_MAKE_MAZE);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text.rfind("Make Maze found no free cell", 0), 0u);
    EXPECT_EQ(AllCells(doc), cells); // the solution is still marked
    EXPECT_EQ(CrtRandom::Main().State(), random);
    EXPECT_EQ(doc.mazeMade, 1);
    EXPECT_FALSE(doc.IsModified());
}
