#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"
#include "platform/CDC.h"

namespace {

// How many pixels of a band of rows are not white.
int InkIn(RasterSurface& s, int top, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < s.Width(); ++x)
            ink += RasterSurface::ToColor(s.Row(y)[x]) != RGB(255, 255, 255);
    return ink;
}

} // namespace

TEST_F(ViewTest, ANewPageRendersEvenWhenTheDocumentAsksForNothing) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    RasterSurface* page = view.PaintScreen();
    ASSERT_TRUE(page);
    EXPECT_EQ(doc.reRender, 0);
    EXPECT_FALSE(view.BufferStale());
    const int drawn = InkIn(*page, 0, page->Height());
    EXPECT_GT(drawn, 1000);

    // A render for an export clears nothing on screen; a new page (an update) starts white
    // and is rendered at the next paint although the document's flag is clear.
    view.OnUpdate(nullptr, 0);
    EXPECT_TRUE(view.BufferStale());
    page = view.Buffer().Surface();
    EXPECT_EQ(InkIn(*page, 0, page->Height()), 0);
    page = view.PaintScreen();
    EXPECT_EQ(InkIn(*page, 0, page->Height()), drawn);

    // Repainting without a change only copies.
    page->Row(0)[0] = 0xFF123456;
    page->MarkDirty();
    view.PaintScreen();
    EXPECT_EQ(page->Row(0)[0], 0xFF123456u);
}

TEST_F(ViewTest, PageHasItsLayersInOrder) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    RasterSurface& page = *view.PaintScreen();
    const CSize size = view.Buffer().PixelSize();
    // The credit line sits in the band at the foot of the page.
    const int band = view.BandHeight() * 96 / 1000;
    const int credit = InkIn(page, size.cy - band, size.cy);
    EXPECT_GT(credit, 50);
    view.SetLayerVisible(CGridloomView::kLayerText, false);
    doc.reRender = 1;
    view.PaintScreen();
    EXPECT_LT(InkIn(page, size.cy - band, size.cy), credit);

    // Hiding the maze leaves only the watermark, which is faint; View Solution still draws it.
    view.SetLayerVisible(CGridloomView::kLayerMaze, false);
    doc.reRender = 1;
    view.PaintScreen();
    CDC& dc = view.Buffer().Dc();
    EXPECT_NE(dc.GetPixel(0, -1), RGB(0, 0, 0));
    view.SetShowSolution(true);
    doc.reRender = 1;
    view.PaintScreen();
    EXPECT_EQ(dc.GetPixel(0, -1), RGB(0, 0, 0));
    EXPECT_EQ(window_.collapses, 3 + 1);
}

TEST_F(ViewTest, PendingMessageIsTakenAndShownAfterThePaint) {
    CGridloomDoc& doc = NewDoc(KIND_HEX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    doc.pendingMessage = "ERROR: something went wrong";
    view.PaintScreen();
    EXPECT_TRUE(doc.pendingMessage.empty());
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0], "ERROR: something went wrong");
    view.PaintScreen();
    EXPECT_EQ(window_.messages.size(), 1u);
}

TEST_F(ViewTest, NoGridShowsNothingAndScrollsNowhere) {
    CGridloomDoc& doc = NewDoc(7, 5, 5); // a kind without grids
    CGridloomView& view = ViewOf(doc);
    EXPECT_EQ(view.PaintScreen(), nullptr);
    EXPECT_EQ(window_.total, CSize(0, 0));
    EXPECT_FALSE(view.HitTestCell({10, 10}));
}

TEST_F(ViewTest, ScrollSizesComeFromThePageAndTheCell) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    ViewOf(doc);
    EXPECT_EQ(window_.total, CSize(MulDiv(7499, 96, 1000), MulDiv(9499, 96, 1000)));
    EXPECT_EQ(window_.line,
              CSize(MulDiv(doc.GetCellWidth(), 96, 1000), MulDiv(-doc.GetCellHeight(), 96, 1000)));
}

TEST_F(ViewTest, RingLayoutSetsTheGridAndRefusesWhatCannotBeDrawn) {
    CGridloomDoc& doc = NewDoc(KIND_CIRCULAR, 10, 10);
    CGridloomView& view = ViewOf(doc);
    ASSERT_TRUE(view.PaintScreen());
    const auto& counts = doc.RingCounts();
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(doc.Settings().rows, static_cast<int>(counts.size()));
    EXPECT_EQ(doc.Settings().columns, counts.back());
    EXPECT_EQ(counts.front(), doc.GetGrid(0)->ring0Count);
    EXPECT_EQ(doc.GetGrid(0)->GetCell(counts.back() - 1, 0).flags, CELL_ERASED);
    EXPECT_TRUE(window_.messages.empty());
    // The circle touches the top of the portrait page and is centred across it.
    const RingLayout& l = view.Rings()->Layout();
    EXPECT_EQ(l.CentreY(), -l.CentreX());
    EXPECT_EQ(l.CentreX(), view.Buffer().LogicalSize().cx / 2);

    for (const auto& [count, fraction] : {std::pair{0, 0.05}, {15, 0.0}, {4000, 0.001}}) {
        doc.GetGrid(0)->ring0Count = count;
        doc.GetGrid(0)->innerRadius = fraction;
        doc.ClearRingCounts();
        window_.messages.clear();
        doc.reRender = 1;
        EXPECT_FALSE(view.LayoutRings());
        ASSERT_TRUE(view.PaintScreen()); // the page still shows, without rings
        EXPECT_EQ(window_.messages.size(), 1u) << count << " " << fraction;
        EXPECT_FALSE(view.HitTestCell({380, 380}));
    }
}

namespace {

int PixelsOf(RasterSurface& s, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            n += RasterSurface::ToColor(s.Row(y)[x]) == colour;
    return n;
}

} // namespace

TEST_F(ViewTest, LayerObjectsReplaceTheWatermarkAndFollowTheirLayers) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    constexpr COLORREF kWatermarkInk = RGB(0xEA, 0xEE, 0xF6);
    constexpr COLORREF kRed = RGB(255, 0, 0);
    EXPECT_GT(PixelsOf(*view.PaintScreen(), kWatermarkInk), 1000);

    CLogicalRectTracker text;
    text.SetKind(CLogicalRectTracker::kindTextOpaque);
    text.SetLayer(CLogicalRectTracker::layerText);
    text.SetLogicalRect(1000, -1000, 5000, -3000);
    text.SetText("A maze for Sunday");
    text.SetTextColor(kRed);
    doc.layerObjects.push_back(text);
    doc.reRender = 1;
    RasterSurface& page = *view.PaintScreen();
    EXPECT_EQ(PixelsOf(page, kWatermarkInk), 0);
    EXPECT_GT(PixelsOf(page, kRed), 20);
    EXPECT_EQ(view.DrawLayerObjects(view.Buffer().Dc(), CGridloomView::kLayerBackground), 0);

    view.SetLayerVisible(CGridloomView::kLayerText, false);
    doc.reRender = 1;
    view.PaintScreen();
    EXPECT_EQ(PixelsOf(page, kRed), 0);
}

TEST_F(ViewTest, MazesBeyondTheCoordinateRangeAreNotDrawn) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 5, 5);
    CGridloomView& view = ViewOf(doc);
    // A document whose cells would reach past 32-bit logical units (as a damaged file might
    // ask): the page shows without the maze, and nothing is hit.
    doc.Settings().fitToPage = 0;
    doc.Settings().scale = 1'000'000'000;
    doc.reRender = 1;
    ASSERT_TRUE(view.PaintScreen());
    EXPECT_FALSE(view.HitTestCell({20, 20}));
    EXPECT_FALSE(view.BuildCellGeometry());
}

TEST_F(ViewTest, PageTooLargeForTheScreenSaysSoInTheStatusBar) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    CGridloomView& view = ViewOf(doc);
    ASSERT_TRUE(view.PaintScreen());
    EXPECT_EQ(window_.status, "");

    doc.Settings().pageWidth = doc.Settings().pageHeight = 400'000; // 400 inches a side
    view.OnUpdate(nullptr, 0);
    EXPECT_EQ(view.PaintScreen(), nullptr);
    EXPECT_TRUE(view.HasMaze());
    EXPECT_EQ(window_.status, CGridloomView::kPageTooLarge);

    doc.Settings().pageWidth = 7499;
    doc.Settings().pageHeight = 9499;
    view.OnUpdate(nullptr, 0);
    EXPECT_TRUE(view.PaintScreen());
    EXPECT_EQ(window_.status, "");
}

TEST_F(ViewTest, UpdateWithoutGridsStillRepaintsForAMessage) {
    CGridloomDoc& doc = NewDoc(7, 5, 5); // a kind without grids
    CGridloomView& view = ViewOf(doc);
    const int before = window_.invalidations;
    doc.pendingMessage = "ERROR: There is no maze to save yet.  Save has stopped.";
    doc.UpdateAllViews(nullptr);
    EXPECT_GT(window_.invalidations, before);
    EXPECT_EQ(view.PaintScreen(), nullptr);
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_TRUE(doc.pendingMessage.empty());
}

// The numbers the drawing of the default page rests on.
TEST_F(ViewTest, DefaultPageNumbersArePinned) {
    CGridloomDoc& hex = NewDoc(KIND_HEX, 10, 10);
    EXPECT_EQ(hex.GetCellWidth(), 710);

    CGridloomDoc& doc = NewDoc(KIND_BOX, 10, 10);
    EXPECT_EQ(doc.GetCellWidth(), 746);
    EXPECT_EQ(doc.GetCellHeight(), -920);
    CGridloomView& view = ViewOf(doc);
    RasterSurface& page = *view.PaintScreen();
    EXPECT_EQ(view.Buffer().PixelSize(), CSize(721, 913));
    EXPECT_EQ(view.Buffer().LogicalSize(), CSize(7510, -9500));

    // Cell (1, 1) starts at pixel (72, 88): its walls run along that column and row.
    using Hit = CellHitTester::Hit;
    EXPECT_EQ(view.HitTestCell({74, 90}), (Hit{1, 1, 0}));
    EXPECT_EQ(view.HitTestCell({70, 86}), (Hit{0, 0, 0}));
    const auto dark = [&page](int x, int y) {
        return RasterSurface::ToColor(page.Row(y)[x]) == RGB(0, 0, 0);
    };
    EXPECT_TRUE(dark(72, 120));
    EXPECT_FALSE(dark(74, 120));
    EXPECT_TRUE(dark(110, 88));
    EXPECT_FALSE(dark(110, 90));
}
