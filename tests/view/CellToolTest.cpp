#include "tests/view/ViewToolTestSupport.h"

#include "maze/ICellPainter.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "platform/MouseKeyFlags.h"
#include "res/CommandIds.h"
#include "view/DragLine.h"

#include <vector>

namespace {

using Button = ViewMouseController::Button;

class CellToolTest : public ViewToolTest {
protected:
    void SetUp() override {
        ViewToolTest::SetUp();
        doc = &NewDoc(KIND_BOX, 10, 10);
        view = &ToolView(*doc);
    }
    void Press(Button b, CPoint p) { view->Mouse().ButtonDown(b, 0, p); }
    void Release(Button b, CPoint p) { view->Mouse().ButtonUp(b, 0, p); }
    void MoveTo(CPoint p) { view->Mouse().Move(MK_LBUTTON, p); }
    // A drag along a row of cells, one move per pixel as a slow hand gives.
    void DragRow(Button b, int row, int from, int to) {
        const CPoint start = CellPixel(*doc, from, row), end = CellPixel(*doc, to, row);
        Press(b, start);
        for (int x = start.x; x <= end.x; x += 7)
            MoveTo(CPoint(x, start.y));
        MoveTo(end);
        Release(b, end);
    }
    std::vector<int> RowFlags(int row) {
        std::vector<int> out;
        for (int c = 0; c < 10; ++c)
            out.push_back(Flags(*doc, c, row));
        return out;
    }

    CGridloomDoc* doc = nullptr;
    CGridloomView* view = nullptr;
};

} // namespace

TEST(DragLineTest, AFastMoveVisitsEveryPixelOfTheLongerAxis) {
    std::vector<CPoint> points;
    DragLine::ForEachPoint(0, 0, 10, 3, [&](CPoint p) { points.push_back(p); });
    const std::vector<CPoint> expected{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1},
                                       {6, 1}, {7, 2}, {8, 2}, {9, 2}, {10, 3}};
    EXPECT_EQ(points, expected);

    points.clear();
    DragLine::ForEachPoint(5, 5, 5, 5, [&](CPoint p) { points.push_back(p); });
    EXPECT_EQ(points, std::vector<CPoint>{CPoint(5, 5)});
    // Backwards and steep: the start again, then one point per row.
    points.clear();
    DragLine::ForEachPoint(4, 4, 3, 0, [&](CPoint p) { points.push_back(p); });
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points.front(), CPoint(4, 4));
    EXPECT_EQ(points.back(), CPoint(3, 0));
}

TEST_F(CellToolTest, NoToolUntilOneIsChosen) {
    view->PaintScreen();
    EXPECT_EQ(view->CurrentTool(), 0);
    EXPECT_TRUE(toolbar_.pressed_.empty());
    Press(Button::Left, CellPixel(*doc, 3, 3));
    Release(Button::Left, CellPixel(*doc, 3, 3));
    EXPECT_EQ(Flags(*doc, 3, 3), 0);
    EXPECT_FALSE(doc->IsModified());

    ASSERT_TRUE(view->RunCommand(ID_TOOL_BLACKEN));
    EXPECT_EQ(toolbar_.pressed_, std::set<UINT>{ID_TOOL_BLACKEN});
    ASSERT_TRUE(view->RunCommand(ID_TOOL_START));
    EXPECT_EQ(toolbar_.pressed_, std::set<UINT>{ID_TOOL_START});
}

TEST_F(CellToolTest, LeftDragBlackensTheCrossedCellsAndARightDragResetsOnlyItsOwn) {
    ASSERT_TRUE(view->RunCommand(ID_TOOL_BLACKEN));
    DragRow(Button::Left, 1, 1, 8);
    EXPECT_EQ(RowFlags(1), (std::vector<int>{0, 2, 2, 2, 2, 2, 2, 2, 2, 0}));
    EXPECT_EQ(view->Mouse().Drag().state, MouseDrag::kNone);
    EXPECT_TRUE(doc->IsModified());
    DragRow(Button::Left, 6, 0, 9);
    EXPECT_EQ(RowFlags(6), std::vector<int>(10, CELL_BLACKENED));

    // The right drag starts where it is pressed, not where the last drag ended.
    DragRow(Button::Right, 6, 3, 5);
    EXPECT_EQ(RowFlags(6), (std::vector<int>{2, 2, 2, 0, 0, 0, 2, 2, 2, 2}));
    EXPECT_EQ(RowFlags(1), (std::vector<int>{0, 2, 2, 2, 2, 2, 2, 2, 2, 0}));
    for (int row : {2, 3, 4, 5})
        EXPECT_EQ(RowFlags(row), std::vector<int>(10, 0)) << row;
}

TEST_F(CellToolTest, HoveringAfterTheReleaseOrALostCapturePaintsNothing) {
    ASSERT_TRUE(view->RunCommand(ID_TOOL_BLACKEN));
    Press(Button::Left, CellPixel(*doc, 2, 2));
    view->Mouse().CaptureLost();
    MoveTo(CellPixel(*doc, 7, 2));
    EXPECT_EQ(Flags(*doc, 7, 2), 0);
    Press(Button::Left, CellPixel(*doc, 2, 4));
    Release(Button::Left, CPoint(-500, -500)); // outside the window
    MoveTo(CellPixel(*doc, 7, 4));
    EXPECT_EQ(Flags(*doc, 5, 4), 0);
    EXPECT_EQ(Flags(*doc, 7, 4), 0);
}

TEST_F(CellToolTest, StartAndStopFollowTheButtonAndTheTiling) {
    struct Case {
        UINT tool;
        Button button;
        int tiled;
        int flags;
        int docFlag;
    };
    const Case cases[] = {
        {ID_TOOL_START, Button::Left, 0, CELL_START | CELL_HIDDEN, MazeProgress::kUserStart},
        {ID_TOOL_START, Button::Left, 1, CELL_START, MazeProgress::kUserStart},
        {ID_TOOL_START, Button::Right, 0, CELL_START, MazeProgress::kUserStart},
        {ID_TOOL_START, Button::Right, 1, CELL_START | CELL_HIDDEN, MazeProgress::kUserStart},
        {ID_TOOL_STOP, Button::Left, 0, CELL_STOP | CELL_HIDDEN, MazeProgress::kUserStop},
        {ID_TOOL_STOP, Button::Left, 1, CELL_STOP, MazeProgress::kUserStop},
        {ID_TOOL_STOP, Button::Right, 0, CELL_STOP, MazeProgress::kUserStop},
        {ID_TOOL_STOP, Button::Right, 1, CELL_STOP | CELL_HIDDEN, MazeProgress::kUserStop},
    };
    for (const Case& c : cases) {
        doc->docFlags = 0;
        doc->Settings().tiled = c.tiled;
        doc->SetCellFlags(4, 4, 0, CELL_BLACKENED);
        view->SelectTool(c.tool);
        Press(c.button, CellPixel(*doc, 4, 4));
        Release(c.button, CellPixel(*doc, 4, 4));
        EXPECT_EQ(Flags(*doc, 4, 4), c.flags) << c.tool << " tiled " << c.tiled;
        EXPECT_EQ(doc->docFlags, c.docFlag);
    }
    // A right press beside every cell still counts as a placed end.
    doc->docFlags = 0;
    view->SelectTool(ID_TOOL_STOP);
    Press(Button::Right, CPoint(5000, 5000));
    EXPECT_EQ(view->Mouse().Drag().state, MouseDrag::kRight);
    EXPECT_EQ(doc->docFlags, MazeProgress::kUserStop);
    Release(Button::Right, CPoint(5000, 5000));
    // A left press beside the maze changes nothing, not even the drag state.
    doc->docFlags = 0;
    view->SelectTool(ID_TOOL_START);
    Press(Button::Left, CPoint(5000, 5000));
    EXPECT_EQ(view->Mouse().Drag().state, MouseDrag::kNone);
    EXPECT_EQ(doc->docFlags, 0);
    // A document without a template takes no press at all.
    view_.reset();
    doc_ = std::make_unique<CGridloomDoc>(Profile());
    doc = doc_.get();
    view = &ToolView(*doc);
    view->SelectTool(ID_TOOL_STOP);
    Press(Button::Right, CPoint(50, 50));
    Press(Button::Left, CPoint(50, 50));
    EXPECT_EQ(doc->docFlags, 0);
    EXPECT_EQ(view->Mouse().Drag().state, MouseDrag::kNone);
}

TEST_F(CellToolTest, ClicksRepaintTheCellAndAWhitenedCellsNeighbours) {
    view->PaintScreen();
    view->SelectTool(ID_TOOL_BLACKEN);
    const int before = window_.invalidations;
    Press(Button::Left, CellPixel(*doc, 5, 5));
    EXPECT_EQ(window_.invalidations, before + 1);
    EXPECT_TRUE(doc->IsModified());
    Release(Button::Left, CellPixel(*doc, 5, 5));
    // The release draws the page afresh.
    EXPECT_EQ(window_.invalidations, before + 2);

    view->SelectTool(ID_TOOL_WHITEN);
    const int whiten = window_.invalidations;
    Press(Button::Left, CellPixel(*doc, 5, 5));
    EXPECT_EQ(Flags(*doc, 5, 5), CELL_ERASED);
    EXPECT_EQ(window_.invalidations, whiten + 5); // the cell and its four neighbours
    Release(Button::Left, CellPixel(*doc, 5, 5));

    // The page shows the whitened cell's colour only while erased cells are shown.
    doc->Settings().erasedVisible = 1;
    doc->reRender = 1;
    RasterSurface* page = view->PaintScreen();
    ASSERT_NE(page, nullptr);
    const CPoint centre = CellPixel(*doc, 5, 5);
    EXPECT_EQ(page->Row(centre.y)[centre.x] & 0xFFFFFF, 0xD0D040u);
}

TEST_F(CellToolTest, GrowFromSelectorGrowsFromTheClickedCellOfItsGrid) {
    struct FirstCell : ICellPainter {
        void DrawPolygonCell(int column, int row, int grid, int) override {
            if (cells.empty() || cells.back() != std::vector<int>{column, row, grid})
                cells.push_back({column, row, grid});
        }
        void DrawRingCell(int, int, int, int) override {}
        void Pause(int) override {}
        std::vector<std::vector<int>> cells;
    } painted;
    view_.reset();
    doc = &NewDoc(KIND_HEX, 8, 8);
    view = &ToolView(*doc);
    doc->Settings().animate = 1;
    doc->SetCellPainter(&painted);
    view->SelectTool(ID_TOOL_GROW);
    Press(Button::Left, CellPixel(*doc, 3, 4, 2));
    doc->SetCellPainter(view);
    ASSERT_FALSE(painted.cells.empty());
    EXPECT_EQ(painted.cells.front(), (std::vector<int>{3, 4, 2}));
    ASSERT_FALSE(doc->seedPoints.empty());
    EXPECT_EQ(doc->seedPoints.front(), CPoint(3, 4));
    EXPECT_EQ(doc->mazeMade, 1);
    EXPECT_NE(doc->GetGrid(2)->GetCell(3, 4).passages, 0);
}

TEST_F(CellToolTest, APressGoesToTheGestureThenTheUndoThenTheLayersTool) {
    struct Log : IGestureCapture, IUndoSnapshot, ILayerMouseTool {
        bool TakesLeftDown(UINT flags, CPoint) override {
            events.push_back("gesture?");
            return (flags & MK_CONTROL) != 0;
        }
        bool TakesMove(UINT, CPoint) override { return false; }
        bool TakesLeftUp(UINT flags, CPoint) override { return (flags & MK_CONTROL) != 0; }
        void SaveBeforePress(int layer) override {
            events.push_back("undo " + std::to_string(layer));
        }
        void LeftDown(UINT, CPoint) override { events.push_back("text down"); }
        void RightDown(UINT, CPoint) override { events.push_back("text right"); }
        void Move(UINT, CPoint) override { events.push_back("text move"); }
        std::vector<std::string> events;
    } log;
    ViewMouseController& mouse = view->Mouse();
    mouse.SetGestureCapture(&log);
    mouse.SetUndoSnapshot(&log);
    mouse.SetLayerTool(CGridloomView::kLayerText, &log);
    view->SetActiveLayer(CGridloomView::kLayerText);
    const int focus = window_.focusRequests;
    mouse.ButtonDown(Button::Left, MK_CONTROL, {10, 10});
    mouse.ButtonDown(Button::Left, 0, {10, 10});
    mouse.Move(0, {12, 12});
    mouse.ButtonDown(Button::Right, 0, {10, 10});
    EXPECT_EQ(log.events, (std::vector<std::string>{"gesture?", "gesture?", "undo 4", "text down",
                                                    "text move", "text right"}));
    // A stroke leaves the focus where it was.
    EXPECT_EQ(window_.focusRequests, focus + 2);
    mouse.SetGestureCapture(nullptr);
    mouse.SetUndoSnapshot(nullptr);
    mouse.SetLayerTool(CGridloomView::kLayerText, nullptr);
}

TEST(ViewMouseWheelTest, WholeNotchesScrollALineAndFractionsAddUp) {
    CGridloomView view;
    ViewMouseController& mouse = view.Mouse();
    EXPECT_EQ(mouse.WheelLines(-120), 1);
    EXPECT_EQ(mouse.WheelLines(240), -2);
    EXPECT_EQ(mouse.WheelLines(-60), 0);
    EXPECT_EQ(mouse.WheelLines(-60), 1);
    EXPECT_EQ(mouse.WheelLines(50), 0);
    EXPECT_EQ(mouse.WheelLines(-50), 0);
}
