#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"
#include "platform/CrtRandom.h"
#include "tiles/TileSetCatalogue.h"

#include <cairo.h>

#include <cstring>
#include <filesystem>

// Tiled Box mazes drawn by the view from the built-in sets.
class TiledMazeTest : public ViewTest {
protected:
    CGridloomDoc& TiledMaze(const std::string& tilerId, bool paintFirst = false) {
        doc_ = std::make_unique<CGridloomDoc>(Profile());
        MazeSettings& s = doc_->Settings();
        s.kind = KIND_BOX;
        s.tiled = 1;
        s.tilerId = tilerId;
        s.columns = 6;
        s.rows = 5;
        s.pageWidth = 2999;
        s.pageHeight = 2999;
        s.seed = 1234;
        doc_->OnFileNew();
        CGridloomView& view = ViewOf(*doc_);
        view.SetLayerVisible(CGridloomView::kLayerText, false);
        view.TileSets().SetInstallFolder(folder_.Path().string());
        doc_->GetGrid(0)->GetCell(2, 1).flags = CELL_BLACKENED;
        if (paintFirst) {
            // Tiles drawn before and during growth (animation paints each cell).
            EXPECT_TRUE(view.PaintScreen());
            doc_->Settings().animate = 1;
        }
        doc_->OnGenerateMaze();
        doc_->Settings().animate = 0;
        view.SetShowSolution(true);
        return *doc_;
    }

    static std::vector<std::uint32_t> Pixels(RasterSurface& s) {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < s.Height(); ++y)
            out.insert(out.end(), s.Row(y), s.Row(y) + s.Width());
        return out;
    }

    // Compares with a picture made once by this test and looked at; a missing one is made.
    static void MatchGolden(RasterSurface& page, const std::string& name) {
        const std::string path = std::string(ORLIMBER_TEST_DATA) + "/view/" + name + ".png";
        if (!std::filesystem::exists(path)) {
            ASSERT_TRUE(SavePng(page, path));
            GTEST_SKIP() << "made " << path;
        }
        cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
        ASSERT_EQ(cairo_surface_status(golden), CAIRO_STATUS_SUCCESS) << path;
        ASSERT_EQ(cairo_image_surface_get_width(golden), page.Width());
        ASSERT_EQ(cairo_image_surface_get_height(golden), page.Height());
        cairo_surface_flush(golden);
        const unsigned char* data = cairo_image_surface_get_data(golden);
        const int stride = cairo_image_surface_get_stride(golden);
        int different = 0;
        for (int y = 0; y < page.Height(); ++y) {
            const auto* want = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            for (int x = 0; x < page.Width(); ++x)
                different += (want[x] & 0xFFFFFF) != (page.Row(y)[x] & 0xFFFFFF);
        }
        cairo_surface_destroy(golden);
        EXPECT_EQ(different, 0) << path;
    }
};

TEST_F(TiledMazeTest, EachBuiltInSetMatchesItsPicture) {
    for (const auto& set : TileSetCatalogue::kBuiltIns) {
        SCOPED_TRACE(set.name);
        CGridloomDoc& doc = TiledMaze(TileSetCatalogue::BuiltInId(set.pictureId));
        view_->Tiler().SetSeed(77); // alternatives repeat across runs
        doc.reRender = 1;
        RasterSurface* page = view_->PaintScreen();
        ASSERT_TRUE(page);
        MatchGolden(*page, "tiled-" + std::to_string(set.pictureId));
    }
    CBMPTiler tiler;
    TileSetCatalogue::LoadBuiltIn(tiler, 4);
    CRaster preview;
    ASSERT_TRUE(tiler.RenderPreview(preview, 100, 100));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap32(100, 100));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    preview.Draw(dc, 0, 0);
    MatchGolden(*bitmap.Surface(), "tiled-preview-188");
}

TEST_F(TiledMazeTest, RepaintsAndTheSeedsMazeStayTheSame) {
    CGridloomDoc& plain = TiledMaze(":ID:#180");
    std::vector<MazeCell> untouched;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 6; ++c)
            untouched.push_back(plain.GetGrid(0)->GetCell(c, r));

    // Tiled renders before and during the growth of the same seed change nothing in the maze.
    CGridloomDoc& doc = TiledMaze(":ID:#206", true);
    std::size_t i = 0;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(doc.GetGrid(0)->GetCell(c, r), untouched[i++]) << c << "," << r;

    doc.reRender = 1;
    const auto first = Pixels(*view_->PaintScreen());
    doc.reRender = 1;
    const auto second = Pixels(*view_->PaintScreen());
    EXPECT_EQ(first, second);
    // A single-cell redraw puts the cell back exactly where the full render drew it.
    view_->RedrawCell(nullptr, 3, 2, 0, 1);
    EXPECT_EQ(Pixels(*view_->Buffer().Surface()), first);
}

TEST_F(TiledMazeTest, UnknownBuiltInIdWarnsAfterThePaintAndKeepsTheId) {
    CGridloomDoc& doc = TiledMaze(":ID:#182");
    ASSERT_TRUE(view_->PaintScreen());
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0], TileSetCatalogue::UnknownBuiltInMessage(182));
    EXPECT_EQ(doc.Settings().tilerId, ":ID:#182");
    EXPECT_EQ(view_->Tiler().TileWidth(), 200);
    doc.reRender = 1;
    view_->PaintScreen();
    EXPECT_EQ(window_.messages.size(), 1u);
}

TEST_F(TiledMazeTest, WhitenedCellsAreLeftOutOfFullRenders) {
    CGridloomDoc& doc = TiledMaze(":ID:#180");
    doc.GetGrid(0)->GetCell(0, 0).flags |= CELL_ERASED;
    doc.reRender = 1;
    RasterSurface* page = view_->PaintScreen();
    ASSERT_TRUE(page);
    // The cell's middle shows the page under the maze: neither its tile nor a wall covers it.
    const int cx = MulDiv(doc.GetCellWidth() / 2, 96, 1000);
    const int cy = MulDiv(-doc.GetCellHeight() / 2, 96, 1000);
    const std::uint32_t shown = page->Row(cy)[cx];
    view_->SetLayerVisible(CGridloomView::kLayerMaze, false);
    view_->SetShowSolution(false);
    doc.reRender = 1;
    page = view_->PaintScreen();
    EXPECT_EQ(page->Row(cy)[cx], shown);
    doc.GetGrid(0)->GetCell(0, 0).flags &= ~CELL_ERASED;
    view_->SetLayerVisible(CGridloomView::kLayerMaze, true);
    doc.reRender = 1;
    page = view_->PaintScreen();
    EXPECT_NE(page->Row(cy)[cx], shown);
}
