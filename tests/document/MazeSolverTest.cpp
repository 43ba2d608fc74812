#include "MazeCheck.h"
#include "tests/support/DocTestSupport.h"

#include "maze/ICellPainter.h"
#include "maze/TemplateKind.h"
#include "platform/CWaitCursor.h"
#include "platform/CrtRandom.h"

#include <vector>

namespace {

std::vector<MazeCell> CellsOf(const CGridloomDoc& doc) {
    std::vector<MazeCell> cells;
    for (int g = 0; g < doc.GridCount(); ++g) {
        const auto span = doc.GetGrid(g)->Cells();
        cells.insert(cells.end(), span.begin(), span.end());
    }
    return cells;
}

std::vector<WORD> PassagesOf(const CGridloomDoc& doc) {
    std::vector<WORD> passages;
    for (const MazeCell& c : CellsOf(doc)) {
        passages.push_back(c.passages);
    }
    return passages;
}

CGridloomDoc& Grown(CGridloomDoc& doc, int seed) {
    doc.Settings().seed = seed;
    doc.OnGenerateMaze();
    return doc;
}

// Drops the automatic end at (column, row) of grid 0.
void DropEnd(CGridloomDoc& doc, int column, int row) {
    MazeCell& cell = doc.GetGrid(0)->GetCell(column, row);
    cell.flags &= static_cast<WORD>(~(CELL_START | CELL_STOP | CELL_HIDDEN));
}

} // namespace

TEST_F(DocTest, SolvingFillsAwayFromMissingEndsAndRestoresThePassages) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 9, 8);
    Grown(doc, 77);
    ASSERT_GT(MazeCheck(doc).solutionCells, 1);
    const auto passages = PassagesOf(doc);
    const auto solved = CellsOf(doc);
    doc.OnSolveMaze();
    EXPECT_EQ(CellsOf(doc), solved) << "solving again changes nothing";

    // Moving START and solving again shows the new path only.
    DropEnd(doc, 0, 0);
    doc.GetGrid(0)->GetCell(4, 4).flags |= CELL_START;
    doc.OnSolveMaze();
    const MazeCheck moved(doc);
    EXPECT_EQ(moved.SolutionCells(), moved.PathBetweenEnds());
    DropEnd(doc, 4, 4);
    doc.GetGrid(0)->GetCell(0, 0).flags |= CELL_START;

    DropEnd(doc, 0, 0);
    doc.OnSolveMaze();
    EXPECT_EQ(MazeCheck(doc).solutionCells, 0) << "only STOP: everything fills";
    DropEnd(doc, 8, 7);
    doc.OnSolveMaze();
    EXPECT_EQ(MazeCheck(doc).solutionCells, 0);
    EXPECT_EQ(PassagesOf(doc), passages);
}

TEST_F(DocTest, AWrappedMazeSolvedWithoutWrappingStaysInsideItsGrid) {
    for (int kind : {KIND_BOX, KIND_HEX, KIND_TRIANGULAR}) {
        CGridloomDoc& doc = NewDoc(kind, 7, 6);
        doc.Settings().wrapHorizontally = doc.Settings().wrapVertically = 1;
        Grown(doc, 5);
        const auto passages = PassagesOf(doc);
        doc.Settings().wrapHorizontally = doc.Settings().wrapVertically = 0;
        doc.OnSolveMaze(); // the sanitizer run checks every read
        EXPECT_EQ(PassagesOf(doc), passages);
        for (const MazeCell& c : CellsOf(doc)) {
            EXPECT_TRUE(!(c.flags & CELL_SOLUTION) || c.IsCarved());
        }
    }
}

TEST_F(DocTest, DrawnSolutionCellsJoinTheMazeAndMayMakeLoops) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 8);
    CrtRandom::Main().srand(3);
    // On an empty maze the first cell joins nothing; the next joins it with one draw.
    doc.DrawSolutionCell(3, 3, 0);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(3, 3).passages, 0);
    EXPECT_TRUE(doc.frontier.Contains({3, 3, 0}));
    EXPECT_EQ(CrtRandom::Main().State(), 3u);
    doc.DrawSolutionCell(4, 3, 0);
    EXPECT_TRUE(doc.GetGrid(0)->GetCell(3, 3).HasPassage(2));
    EXPECT_TRUE(doc.GetGrid(0)->GetCell(4, 3).HasPassage(4));
    EXPECT_NE(CrtRandom::Main().State(), 3u);
    EXPECT_FALSE(doc.frontier.Contains({3, 3, 0}));

    // Blackened cells are never carved, not even by hand.
    doc.SetCellFlags(5, 3, 0, CELL_BLACKENED);
    doc.DrawSolutionCell(5, 3, 0);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(5, 3).passages, 0);
    doc.DrawSolutionCell(99, 3, 0); // outside: ignored
    doc.SetCellFlags(5, 3, 0, 0);

    // Make Maze grows on from the drawn cells without reseeding.
    doc.Settings().seed = 1234;
    doc.OnGenerateMaze();
    MazeCheck grown(doc);
    EXPECT_TRUE(grown.IsTree());
    EXPECT_TRUE(doc.GetGrid(0)->GetCell(3, 3).HasPassage(2));

    // A cell joined to every carved neighbour closes loops; they stay in the solution.
    const auto before = CellsOf(doc);
    doc.DrawSolutionCell(4, 4, 0);
    EXPECT_NE(CellsOf(doc), before);
    EXPECT_FALSE(MazeCheck(doc).IsTree());
    const auto joined = CellsOf(doc);
    const auto state = CrtRandom::Main().State();
    doc.DrawSolutionCell(4, 4, 0);
    EXPECT_EQ(CellsOf(doc), joined) << "nothing left to join";
    EXPECT_EQ(CrtRandom::Main().State(), state);
    doc.OnSolveMaze();
    EXPECT_TRUE(doc.GetGrid(0)->GetCell(4, 4).flags & CELL_SOLUTION);
}

TEST_F(DocTest, AFrontierCellWithNothingCarvedBesideItIsDropped) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    doc.DrawSolutionCell(2, 2, 0);
    ASSERT_EQ(doc.frontier.Size(), 1u);
    doc.GrowMaze(); // would never end if the cell kept failing
    EXPECT_TRUE(doc.frontier.Empty());
    EXPECT_FALSE(doc.GetGrid(0)->GetCell(2, 2).IsFrontier());
}

TEST_F(DocTest, MakeMazePlacesOnlyTheMissingEnds) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 5);
    doc.SetCellFlags(2, 2, 0, CELL_START);
    doc.docFlags = CGridloomDoc::kUserStart;
    doc.OnGenerateMaze();
    EXPECT_EQ(doc.GetGrid(0)->GetCell(0, 0).flags & 0xFF, 0);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(5, 4).flags & 0xFF, CELL_STOP | CELL_HIDDEN);
    const MazeCheck maze(doc);
    EXPECT_EQ(maze.SolutionCells(), maze.PathBetweenEnds());
    EXPECT_TRUE(maze.start == (MazeCheck::Cell{0, 2, 2}));

    // Clear keeps the user's ends and the document's record of them.
    doc.ClearMaze(false);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(2, 2).flags, CELL_START);
    EXPECT_EQ(doc.docFlags, CGridloomDoc::kUserStart);
    EXPECT_TRUE(doc.seedPoints.empty());
    EXPECT_EQ(MazeCheck(doc).carved, 0);

    CGridloomDoc& tiled = NewDoc(KIND_HEX, 4, 4);
    tiled.Settings().tiled = 1;
    tiled.OnGenerateMaze();
    EXPECT_EQ(tiled.GetGrid(0)->GetCell(0, 0).flags & 0xFF, CELL_START);
    EXPECT_EQ(tiled.GetGrid(3)->GetCell(3, 3).flags & 0xFF, CELL_STOP);
}

TEST_F(DocTest, MakeMazeGrowsNothingFromACellThatCannotGrow) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    doc.SetCellFlags(1, 1, 0, CELL_BLACKENED);
    doc.cursorColumn = doc.cursorRow = 1;
    EXPECT_FALSE(doc.OnGenerateMaze());
    // A start that fails leaves no trace: no ends, and the maze counts as not made.
    const MazeCheck blocked(doc);
    EXPECT_EQ(blocked.carved, 0);
    EXPECT_FALSE(blocked.start || blocked.stop);
    EXPECT_EQ(doc.mazeMade, 0);

    // No free cell anywhere: the random search must not run forever.
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) {
            doc.SetCellFlags(c, r, 0, CELL_ERASED);
        }
    }
    doc.cursorColumn = doc.cursorRow = -1;
    doc.OnGenerateMaze();
    EXPECT_EQ(MazeCheck(doc).carved, 0);

    // Nor without columns and rows.
    CGridloomDoc& empty = NewDoc(KIND_BOX, 5, 5);
    empty.Settings().columns = 0;
    empty.OnGenerateMaze();
    EXPECT_EQ(empty.mazeMade, 0);
}

TEST_F(DocTest, RegeneratingGrowsNewMazesFromTheSeedPoints) {
    CGridloomDoc& doc = NewDoc(KIND_OCTAGON_BOX, 6, 6);
    EXPECT_EQ(doc.RegenerateMaze(), 0);
    Grown(doc, 42);
    const auto first = CellsOf(doc);
    ASSERT_EQ(doc.seedPoints.size(), 1u);
    const CPoint start = doc.seedPoints[0];
    EXPECT_EQ(doc.RegenerateMaze(), 1);
    EXPECT_EQ(doc.Settings().seed, 42);
    EXPECT_NE(CellsOf(doc), first) << "the sequence runs on";
    const MazeCheck again(doc);
    EXPECT_TRUE(again.IsTree());
    EXPECT_EQ(again.SolutionCells(), again.PathBetweenEnds());
    EXPECT_TRUE(doc.GetGrid(doc.cursorGrid)->GetCell(start.x, start.y).IsCarved());

    doc.seedPoints.clear();
    EXPECT_EQ(doc.RegenerateMaze(), 0);
    EXPECT_EQ(MazeCheck(doc).carved, 0);
}

namespace {

// Counts what an animating view would draw; draws nothing.
class CountingPainter : public ICellPainter {
public:
    void DrawPolygonCell(int, int, int, int pass) override { cells += pass == 1; }
    void DrawRingCell(int, int, int, int pass) override { cells += pass == 1; }
    void Pause(int) override { ++pauses; }
    int cells = 0;
    int pauses = 0;
};

} // namespace

TEST_F(DocTest, AnimatedSolvingFillsTheSameCellsAsQuietSolving) {
    for (int kind : {KIND_BOX, KIND_TRAPEZOID_BOX, KIND_CIRCULAR}) {
        CGridloomDoc& doc = NewDoc(kind, 9, 9);
        if (kind == KIND_CIRCULAR) {
            ASSERT_TRUE(doc.SetRingCounts({6, 12, 12, 24, 24}));
        }
        Grown(doc, 11);
        doc.DrawSolutionCell(2, 2, 0); // loops too
        doc.OnSolveMaze();
        const auto quiet = CellsOf(doc);
        CountingPainter painter;
        doc.Settings().animate = 1;
        doc.SetCellPainter(&painter);
        doc.OnSolveMaze();
        doc.SetCellPainter(nullptr);
        EXPECT_EQ(CellsOf(doc), quiet) << "kind " << kind;
        EXPECT_GT(painter.cells, 10);
        EXPECT_EQ(painter.pauses, painter.cells);
    }
}

namespace {

class CountingIndicator : public IBusyIndicator {
public:
    void Begin() override {
        ++begun;
        ++depth;
    }
    void End() override { --depth; }
    int begun = 0;
    int depth = 0;
};

} // namespace

TEST_F(DocTest, MakingAndSolvingShowTheBusyCursorUntilTheyEnd) {
    CountingIndicator busy;
    IBusyIndicator::Installation installed(busy);
    CGridloomDoc& doc = NewDoc(KIND_HEX, 12, 10);
    Grown(doc, 5);
    EXPECT_GE(busy.begun, 2) << "growing and solving";
    EXPECT_EQ(busy.depth, 0);
}

TEST_F(DocTest, DrawingAfterTheCellsWereClearedOrRebuiltKeepsTheFrontierInStep) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 8);
    auto inStep = [&doc] {
        // Every listed cell is flagged, once, and every flagged cell is listed.
        std::size_t flagged = 0;
        for (int r = 0; r < doc.GetGrid(0)->Height(); ++r) {
            for (int c = 0; c < doc.GetGrid(0)->Width(); ++c) {
                const bool isFrontier = doc.GetGrid(0)->GetCell(c, r).IsFrontier();
                flagged += isFrontier ? 1 : 0;
                if (isFrontier != doc.frontier.Contains({c, r, 0})) {
                    return false;
                }
            }
        }
        return flagged == doc.frontier.Size();
    };
    doc.DrawSolutionCell(3, 3, 0);
    doc.DrawSolutionCell(4, 3, 0);
    ASSERT_FALSE(doc.frontier.Empty());
    // Clearing takes the flags away but leaves the list as it was.
    doc.ClearMaze(false);
    doc.DrawSolutionCell(3, 4, 0);
    doc.DrawSolutionCell(3, 3, 0);
    EXPECT_TRUE(inStep());
    // A rebuild at another size keeps the list's entries that still fit.
    doc.Settings().columns = 6;
    ASSERT_TRUE(doc.SetupGrids(true));
    doc.DrawSolutionCell(2, 2, 0);
    doc.DrawSolutionCell(2, 3, 0);
    EXPECT_TRUE(inStep());
    doc.Settings().seed = 5;
    doc.OnGenerateMaze();
    EXPECT_TRUE(MazeCheck(doc).IsTree());
    EXPECT_TRUE(doc.frontier.Empty());
}
