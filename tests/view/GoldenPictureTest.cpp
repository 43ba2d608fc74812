#include "tests/view/ViewTestSupport.h"

#include "maze/TemplateKind.h"

#include <cairo.h>

#include <cstdlib>
#include <filesystem>

// Made and solved mazes of every kind, drawn on a small page and compared pixel for pixel with
// pictures made once by this test and looked at. A missing picture is written and the test
// skipped; delete a picture to make it again after an intended change.
class GoldenPictureTest : public ViewTest,
                          public ::testing::WithParamInterface<std::tuple<int, bool>> {
protected:
    static std::string GoldenPath(int kind, bool erased) {
        return std::string(ORLIMBER_TEST_DATA) + "/view/kind" + std::to_string(kind) +
               (erased ? "-erased-shown" : "-erased-hidden") + ".png";
    }

    // A 3-inch page with a user START and STOP, a blackened and a whitened cell.
    CGridloomDoc& MadeMaze(int kind) {
        doc_ = std::make_unique<CGridloomDoc>(Profile());
        CGridloomDoc& doc = *doc_;
        MazeSettings& s = doc.Settings();
        s.kind = kind;
        s.columns = 6;
        s.rows = 5;
        s.pageWidth = 2999;
        s.pageHeight = 2999;
        s.seed = 11;
        doc.OnFileNew();
        CGridloomView& view = ViewOf(doc);
        view.SetLayerVisible(CGridloomView::kLayerText, false); // no fonts in the comparison
        if (kind == KIND_CIRCULAR) {
            doc.GetGrid(0)->ring0Count = 6;
            doc.GetGrid(0)->innerRadius = 0.2;
            doc.ClearRingCounts();
            EXPECT_TRUE(view.LayoutRings());
        }
        const int lastGrid = doc.GridCount() - 1;
        const int lastColumn = kind == KIND_CIRCULAR ? doc.RingCounts().back() / 2 : 5;
        const int lastRow = doc.Settings().rows - 1;
        doc.GetGrid(0)->GetCell(0, 0).flags = CELL_START;
        doc.GetGrid(lastGrid)->GetCell(lastColumn, lastRow).flags = CELL_STOP;
        doc.docFlags = CGridloomDoc::kUserStart | CGridloomDoc::kUserStop;
        doc.GetGrid(0)->GetCell(2, 1).flags = CELL_BLACKENED;
        doc.GetGrid(0)->GetCell(1, 2).flags = CELL_ERASED;
        doc.OnGenerateMaze();
        view.SetShowSolution(true);
        return doc;
    }
};

TEST_P(GoldenPictureTest, PageMatchesItsPicture) {
    const auto [kind, erased] = GetParam();
    CGridloomDoc& doc = MadeMaze(kind);
    doc.Settings().erasedVisible = erased;
    doc.reRender = 1;
    RasterSurface* page = view_->PaintScreen();
    ASSERT_TRUE(page);
    const std::string path = GoldenPath(kind, erased);
    if (!std::filesystem::exists(path)) {
        ASSERT_TRUE(SavePng(*page, path));
        GTEST_SKIP() << "made " << path;
    }
    cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(golden), CAIRO_STATUS_SUCCESS) << path;
    ASSERT_EQ(cairo_image_surface_get_width(golden), page->Width());
    ASSERT_EQ(cairo_image_surface_get_height(golden), page->Height());
    cairo_surface_flush(golden);
    const unsigned char* data = cairo_image_surface_get_data(golden);
    const int stride = cairo_image_surface_get_stride(golden);
    int different = 0;
    for (int y = 0; y < page->Height(); ++y) {
        const auto* want = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < page->Width(); ++x)
            different += (want[x] & 0xFFFFFF) != (page->Row(y)[x] & 0xFFFFFF);
    }
    cairo_surface_destroy(golden);
    if (different > 0) {
        const char* out = std::getenv("ORLIMBER_TEST_OUT");
        const std::string actual = (out ? std::string(out) : std::string(".")) + "/" +
                                   std::filesystem::path(path).stem().string() + "-actual.png";
        SavePng(*page, actual);
        FAIL() << different << " pixels differ from " << path << "; see " << actual;
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, GoldenPictureTest,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3, 4, 5, 40),
                                            ::testing::Bool()));
