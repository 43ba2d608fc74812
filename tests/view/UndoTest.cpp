#include "tests/view/ViewToolTestSupport.h"

#include "image/core/CRaster.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "res/CommandIds.h"
#include "view/CQVUnDo.h"

#include <vector>

namespace {

using Button = ViewMouseController::Button;

std::vector<MazeCell> CellsOf(const CGridloomDoc& doc, int grid = 0) {
    const auto cells = doc.GetGrid(grid)->Cells();
    return {cells.begin(), cells.end()};
}

bool SameCells(const std::vector<MazeCell>& a, const std::vector<MazeCell>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].flags != b[i].flags || a[i].passages != b[i].passages)
            return false;
    return true;
}

std::shared_ptr<const CRaster> Picture(COLORREF colour) {
    auto p = std::make_shared<CRaster>(5, 4, 24);
    for (LONG y = 0; y < 4; ++y)
        for (LONG x = 0; x < 5; ++x)
            p->SetPixelColor(x, y, RGBQUAD::FromRgb(GetRValue(colour) + x, GetGValue(colour), y));
    return p;
}

class UndoTest : public ViewToolTest {
protected:
    CGridloomView& Show(CGridloomDoc& doc) {
        CGridloomView& view = ToolView(doc);
        view.PaintScreen();
        return view;
    }
    void Click(CGridloomView& view, CPoint p) {
        view.Mouse().ButtonDown(Button::Left, 0, p);
        view.Mouse().ButtonUp(Button::Left, 0, p);
    }
    bool UndoEnabled(CGridloomView& view) {
        CCmdUI ui(ID_EDIT_UNDO);
        EXPECT_TRUE(view.RunUpdate(ui));
        return ui.IsEnabled();
    }
};

// Four steps come back newest first (the oldest of five is gone), then Undo is off; the
// other channel is never touched.
TEST_F(UndoTest, FiveMazePressesGiveFourStepsBackNewestFirst) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    CGridloomView& view = Show(doc);
    ASSERT_TRUE(view.RunCommand(ID_TOOL_BLACKEN));
    EXPECT_FALSE(UndoEnabled(view));
    std::vector<std::vector<MazeCell>> before;
    for (int i = 0; i < 5; ++i) {
        before.push_back(CellsOf(doc));
        Click(view, CellPixel(doc, i + 1, i + 2));
    }
    ASSERT_EQ(Flags(doc, 5, 6), CELL_BLACKENED);
    EXPECT_EQ(view.Undo().Stack().GetGroupCount(CQVUnDo::kMazeChannel), 4);
    EXPECT_EQ(view.Undo().Stack().GetGroupCount(CQVUnDo::kObjectChannel), 0);
    for (int step = 4; step >= 1; --step) {
        ASSERT_TRUE(UndoEnabled(view)) << step;
        doc.SetModifiedFlag(false);
        ASSERT_TRUE(view.RunCommand(ID_EDIT_UNDO));
        EXPECT_TRUE(SameCells(CellsOf(doc), before[static_cast<std::size_t>(step)])) << step;
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.reRender, 1);
    }
    EXPECT_FALSE(UndoEnabled(view));
    EXPECT_EQ(Flags(doc, 1, 2), CELL_BLACKENED); // the first press stays
    // Undo with nothing left changes nothing.
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(view.Undo().Undo());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(UndoTest, EveryGridIsSavedAndAPressOnEachLayerFillsItsOwnChannel) {
    CGridloomDoc& doc = NewDoc(KIND_HEX, 6, 6);
    CGridloomView& view = Show(doc);
    ASSERT_GT(doc.GridCount(), 1);
    ASSERT_TRUE(view.RunCommand(ID_TOOL_BLACKEN));
    const std::vector<MazeCell> clean = CellsOf(doc, doc.GridCount() - 1);
    Click(view, CellPixel(doc, 2, 2, doc.GridCount() - 1));
    CQVUnDo& stack = view.Undo().Stack();
    for (int g = 0; g < doc.GridCount(); ++g)
        EXPECT_EQ(stack.GetRecordSize(CQVUnDo::kMazeChannel, std::size_t(g)),
                  doc.GetGrid(g)->Cells().size() * 4);
    EXPECT_EQ(stack.GetRecordSize(CQVUnDo::kMazeChannel, std::size_t(doc.GridCount())), 0u);

    // A press on the text layer saves the objects, not the cells.
    doc.layerObjects.emplace_back();
    doc.layerObjects.back().SetLayer(CGridloomView::kLayerText);
    view.SetActiveLayer(CGridloomView::kLayerText);
    Click(view, {5, 5});
    EXPECT_EQ(stack.GetGroupCount(CQVUnDo::kMazeChannel), 1);
    EXPECT_EQ(stack.GetGroupCount(CQVUnDo::kObjectChannel), 1);
    doc.layerObjects.clear();

    // Undo on the maze layer brings the cells back and leaves the objects alone.
    view.SetActiveLayer(CGridloomView::kLayerMaze);
    ASSERT_TRUE(view.Undo().Undo());
    EXPECT_TRUE(SameCells(CellsOf(doc, doc.GridCount() - 1), clean));
    EXPECT_TRUE(doc.layerObjects.empty());
    EXPECT_EQ(stack.GetGroupCount(CQVUnDo::kObjectChannel), 1);
}

// A step saved for grids of another size or another build is dropped, never written.
TEST_F(UndoTest, AStaleStepIsDroppedWithoutTouchingTheGrids) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    CGridloomView& view = Show(doc);
    ASSERT_TRUE(view.RunCommand(ID_TOOL_BLACKEN));
    Click(view, CellPixel(doc, 3, 3));
    ASSERT_TRUE(UndoEnabled(view));
    doc.Settings().columns = 4;
    doc.Settings().rows = 3;
    ASSERT_TRUE(doc.SetupGrids(false));
    doc.SetCellFlags(1, 1, 0, CELL_BLACKENED);
    const std::vector<MazeCell> now = CellsOf(doc);
    EXPECT_FALSE(UndoEnabled(view));
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(view.Undo().Undo());
    EXPECT_TRUE(SameCells(CellsOf(doc), now));
    EXPECT_FALSE(doc.IsModified());

    // Same build, but a record that does not fit its grid (as a hostile caller could push):
    // nothing is written and the step is gone.
    CQVUnDo stack;
    stack.SaveUndoState(CQVUnDo::kMazeChannel, doc);
    doc.GetGrid(0)->AllocateCells(5, 3);
    const std::vector<MazeCell> grown = CellsOf(doc);
    EXPECT_FALSE(stack.RestoreUndoState(CQVUnDo::kMazeChannel, doc));
    EXPECT_TRUE(SameCells(CellsOf(doc), grown));
    EXPECT_EQ(stack.GetGroupCount(CQVUnDo::kMazeChannel), 0);
    // Raw records refuse a buffer of another size.
    std::uint32_t word = 7, back = 0;
    stack.Push(CQVUnDo::kMazeChannel, true, &word, sizeof word);
    EXPECT_FALSE(stack.Restore(CQVUnDo::kMazeChannel, false, &back, 2, 0));
    EXPECT_FALSE(stack.Restore(CQVUnDo::kMazeChannel, false, &back, 4, 1));
    EXPECT_TRUE(stack.Restore(CQVUnDo::kMazeChannel, true, &back, 4, 0));
    EXPECT_EQ(back, 7u);
}

// The step keeps the flags that go with the cells: after undoing START, Make Maze places
// its own START again; after undoing Grow, no maze is claimed.
TEST_F(UndoTest, UndoingStartOrGrowTakesTheirFlagsBackToo) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 8, 8);
    CGridloomView& view = Show(doc);
    ASSERT_TRUE(view.RunCommand(ID_TOOL_START));
    Click(view, CellPixel(doc, 4, 4));
    ASSERT_NE(doc.docFlags & MazeProgress::kUserStart, 0);
    ASSERT_TRUE(view.Undo().Undo());
    EXPECT_EQ(doc.docFlags & MazeProgress::kUserStart, 0);
    EXPECT_EQ(Flags(doc, 4, 4) & CELL_START, 0);
    doc.OnGenerateMaze();
    EXPECT_NE(Flags(doc, 0, 0) & CELL_START, 0);

    CGridloomDoc& other = NewDoc(KIND_BOX, 8, 8);
    CGridloomView& view2 = Show(other);
    ASSERT_TRUE(view2.RunCommand(ID_TOOL_GROW));
    Click(view2, CellPixel(other, 2, 2));
    ASSERT_EQ(other.mazeMade, 1);
    ASSERT_FALSE(other.seedPoints.empty());
    ASSERT_TRUE(view2.Undo().Undo());
    EXPECT_EQ(other.mazeMade, 0);
    EXPECT_EQ(other.cleared, 1);
    EXPECT_TRUE(other.seedPoints.empty());
    for (const MazeCell& c : CellsOf(other))
        EXPECT_EQ(c.passages, 0);
}

TEST_F(UndoTest, UndoAfterDeleteBringsTheObjectsBackInOrderWithTheirPictures) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 6);
    CGridloomView& view = Show(doc);
    const COLORREF colours[] = {RGB(10, 0, 0), RGB(60, 90, 0), RGB(120, 30, 0)};
    for (int i = 0; i < 3; ++i) {
        CLogicalRectTracker o;
        o.SetImage(Picture(colours[i]), CLogicalRectTracker::kindPicture);
        o.SetLayer(CGridloomView::kLayerBackground);
        o.m_rect = CRect(300 + 10 * i, 300, 340 + 10 * i, 340);
        doc.layerObjects.push_back(o);
    }
    // The copies share the document's pictures: kept, not re-encoded.
    const std::vector<CLogicalRectTracker> original = doc.layerObjects;
    view.SetActiveLayer(CGridloomView::kLayerBackground);
    doc.layerObjects[1].SetSelectionStyle(2);
    view.Undo().SaveBeforePress(CGridloomView::kLayerBackground);
    ASSERT_TRUE(view.DeleteSelected());
    ASSERT_EQ(doc.layerObjects.size(), 2u);
    doc.layerObjects[0].SetImage(Picture(RGB(1, 1, 1)), CLogicalRectTracker::kindPicture);
    ASSERT_TRUE(UndoEnabled(view));
    ASSERT_TRUE(view.RunCommand(ID_EDIT_UNDO));
    ASSERT_EQ(doc.layerObjects.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const CRaster& back = *doc.layerObjects[i].GetImage();
        const CRaster& was = *original[i].GetImage();
        ASSERT_EQ(back.GetWidth(), was.GetWidth());
        for (LONG y = 0; y < 4; ++y)
            for (LONG x = 0; x < 5; ++x)
                EXPECT_EQ(back.GetPixelColor(x, y, false), was.GetPixelColor(x, y, false));
        EXPECT_EQ(doc.layerObjects[i].m_rect, original[i].m_rect);
        // Nothing restored stays selected.
        EXPECT_EQ(doc.layerObjects[i].GetSelectionStyle(), 1);
    }
    // Loading a document is a new build of the grids: the object steps go too.
    view.Undo().SaveBeforePress(CGridloomView::kLayerBackground);
    ASSERT_TRUE(doc.SetupGrids(false));
    EXPECT_FALSE(UndoEnabled(view));
}

} // namespace
