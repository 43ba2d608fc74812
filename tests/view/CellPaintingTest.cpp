#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"
#include "platform/CDC.h"

class CellPaintingTest : public ViewTest {
protected:
    // A made 4 x 3 Box with a cell of each kind of flag.
    CGridloomDoc& FlaggedBox() {
        CGridloomDoc& doc = NewDoc(KIND_BOX, 4, 3);
        doc.Settings().seed = 7;
        doc.OnGenerateMaze();
        Object& g = *doc.GetGrid(0);
        g.GetCell(0, 0).flags = CELL_START;
        g.GetCell(1, 0).flags = CELL_SOLUTION;
        g.GetCell(2, 0).flags = CELL_STOP | CELL_HIDDEN;
        g.GetCell(3, 0).flags = CELL_START | CELL_SOLUTION;
        g.GetCell(0, 1) = MazeCell{CELL_ERASED, 0};
        g.GetCell(1, 1) = MazeCell{CELL_BLACKENED | CELL_FRONTIER, 0};
        g.GetCell(2, 1) = MazeCell{0, 0}; // never reached by the generator
        g.GetCell(3, 1) = MazeCell{CELL_FRONTIER, 0};
        return doc;
    }

    // The colour at the centre of a Box cell in the page picture.
    COLORREF CentreOf(CGridloomDoc& doc, CDC& dc, int column, int row) {
        const int w = doc.GetCellWidth(), h = doc.GetCellHeight();
        return dc.GetPixel(column * w + w / 2, row * h + h / 2);
    }

    COLORREF ScreenCentre(CGridloomDoc& doc, int column, int row) {
        doc.reRender = 1;
        view_->PaintScreen();
        return CentreOf(doc, view_->Buffer().Dc(), column, row);
    }

    // What the page shows there without the maze (the watermark or white).
    COLORREF PageCentre(CGridloomDoc& doc, int column, int row) {
        view_->SetLayerVisible(CGridloomView::kLayerMaze, false);
        const COLORREF page = ScreenCentre(doc, column, row);
        view_->SetLayerVisible(CGridloomView::kLayerMaze, true);
        return page;
    }
};

TEST_F(CellPaintingTest, FillColoursFollowTheFlagsOnScreen) {
    CGridloomDoc& doc = FlaggedBox();
    ViewOf(doc);
    const CellColours& c = doc.Colours();
    EXPECT_EQ(ScreenCentre(doc, 0, 0), c.start);
    EXPECT_EQ(ScreenCentre(doc, 1, 0), PageCentre(doc, 1, 0))
        << "solution hidden while View Solution is off";
    EXPECT_EQ(ScreenCentre(doc, 2, 0), c.hiddenStop);
    EXPECT_EQ(ScreenCentre(doc, 3, 0), c.start) << "an end on the solution keeps its colour";
    EXPECT_EQ(ScreenCentre(doc, 0, 1), PageCentre(doc, 0, 1))
        << "whitened cells hidden without Show Erased";
    EXPECT_EQ(ScreenCentre(doc, 1, 1), c.blackened) << "blackened wins over frontier";
    EXPECT_EQ(ScreenCentre(doc, 2, 1), RGB(160, 160, 160)) << "uncarved after making";
    EXPECT_EQ(ScreenCentre(doc, 3, 1), RGB(0, 0, 0x30));

    view_->SetShowSolution(true);
    doc.Settings().erasedVisible = 1;
    EXPECT_EQ(ScreenCentre(doc, 1, 0), c.solution);
    EXPECT_EQ(ScreenCentre(doc, 0, 1), c.erased);

    // Before any maze is made an uncarved cell is only outlined.
    doc.cleared = 1;
    EXPECT_EQ(ScreenCentre(doc, 2, 1), PageCentre(doc, 2, 1));
}

TEST_F(CellPaintingTest, ExportsLeaveOutWhitenedCellsAndHiddenEnds) {
    CGridloomDoc& doc = FlaggedBox();
    CGridloomView& view = ViewOf(doc);
    doc.Settings().erasedVisible = 1;
    CDC export_;
    export_.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    const CSize pixels = view.Buffer().PixelSize();
    ASSERT_TRUE(bitmap.CreateBitmap32(pixels.cx, pixels.cy));
    export_.SelectObject(&bitmap);
    export_.SetMapMode(MM_HIENGLISH);

    doc.reRender = 0;
    view.SetScreenFlag(false);
    view.OnDraw(export_);
    EXPECT_TRUE(view.ScreenFlag());
    EXPECT_EQ(doc.reRender, 0);
    EXPECT_EQ(CentreOf(doc, export_, 0, 0), doc.Colours().start);
    EXPECT_NE(CentreOf(doc, export_, 2, 0), doc.Colours().hiddenStop);
    EXPECT_NE(CentreOf(doc, export_, 0, 1), doc.Colours().erased);

    // A render for export does not count as the screen's: the page still renders afterwards.
    doc.reRender = 1;
    view.SetScreenFlag(false);
    view.OnDraw(export_);
    EXPECT_EQ(doc.reRender, 1);
    EXPECT_EQ(ScreenCentre(doc, 2, 0), doc.Colours().hiddenStop);
    EXPECT_EQ(doc.reRender, 0);
}

TEST_F(CellPaintingTest, HiddenEndsShowDottedWallsOnScreenEvenBeforeMaking) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 3, 3);
    doc.GetGrid(0)->GetCell(1, 1).flags = CELL_START | CELL_HIDDEN;
    CGridloomView& view = ViewOf(doc);
    view.PaintScreen();
    CDC& dc = view.Buffer().Dc();
    const int w = doc.GetCellWidth(), h = doc.GetCellHeight();
    // Walk the left wall of the hidden cell: it carries light grey dots.
    int grey = 0;
    for (int y = h + 20; y > 2 * h - 20; y -= 5)
        grey += dc.GetPixel(w, y) == RGB(192, 192, 192);
    EXPECT_GT(grey, 0);
}

TEST_F(CellPaintingTest, SingleCellRedrawPaintsThePageAndInvalidatesOnlyTheCell) {
    CGridloomDoc& doc = FlaggedBox();
    CGridloomView& view = ViewOf(doc);
    view.PaintScreen();
    const int before = window_.invalidations;
    doc.GetGrid(0)->GetCell(1, 2).flags |= CELL_STOP;
    EXPECT_TRUE(view.RedrawCell(nullptr, 1, 2, 0, 1));
    EXPECT_EQ(window_.invalidations, before + 1);
    EXPECT_EQ(CentreOf(doc, view.Buffer().Dc(), 1, 2), doc.Colours().stop);
    const CRect cell = window_.lastInvalidated;
    const int cellPixels = doc.GetCellWidth() * 96 / 1000;
    EXPECT_LT(cell.Width(), cellPixels + 12);
    EXPECT_GT(cell.Width(), cellPixels);
    EXPECT_FALSE(view.RedrawCell(nullptr, 4, 0, 0, 1));
    EXPECT_FALSE(view.RedrawCell(nullptr, 0, 0, 1, 1));

    // The neighbours of a cell repaint too; a corner cell has two.
    const int n = window_.invalidations;
    EXPECT_TRUE(view.RedrawCellNeighbours(nullptr, 0, 0, 0, 1));
    EXPECT_EQ(window_.invalidations, n + 2);
}
