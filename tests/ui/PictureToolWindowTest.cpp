#include "tests/ui/MazeViewWindowFixture.h"

#include "image/core/CRaster.h"
#include "platform/FileDialog.h"
#include "platform/wx/WxFileDialog.h"

#include <string>

namespace {

bool IsRed(const wxImage& image, wxPoint p) {
    return image.GetRed(p.x, p.y) > 200 && image.GetGreen(p.x, p.y) < 60 &&
           image.GetBlue(p.x, p.y) < 60;
}

int DarkPixelsInRow(const wxImage& image, int y, int from, int to) {
    int dark = 0;
    for (int x = from; x < to; ++x)
        dark += image.GetRed(x, y) < 60 && image.GetGreen(x, y) < 60 ? 1 : 0;
    return dark;
}

// The program's window with a small Box template, pictures coming from a scripted dialog.
class PictureToolWindowTest : public MazeViewWindowFixture {
protected:
    void SetUp() override {
        CRaster red(16, 16, 24);
        for (LONG y = 0; y < 16; ++y)
            for (LONG x = 0; x < 16; ++x)
                red.SetPixelColor(x, y, RGBQUAD::FromRgb(230, 20, 20));
        ASSERT_TRUE(red.Save(bmp_, CRaster::kTypeBmp));
        MazeViewWindowFixture::SetUp();
    }
    int BoxCells() const override { return 4; }
    std::string At(wxPoint client) { return xdo::At(*window_, client.x, client.y); }
    // A drag in steps, each seen before the next (the toolkit merges queued moves).
    void Drag(wxPoint from, wxPoint to, const std::string& beforeRelease = "") {
        Xdo("mousemove --sync " + At(from) + " mousedown 1");
        Xdo("mousemove --sync " + At(from + wxPoint(3, 3)));
        Xdo("mousemove --sync " + At((from + to) / 2));
        Xdo("mousemove --sync " + At(to));
        if (!beforeRelease.empty())
            Xdo(beforeRelease);
        Xdo("mouseup 1");
    }

    ScriptedFileDialog files_;
    IFileDialog::Installation filesInstalled_{files_};
    std::string bmp_ = folder_.File("red.bmp");
};

} // namespace

TEST_F(PictureToolWindowTest, APlacedPictureShowsMovesAndComesBackWithUndo) {
    Xdo("mousemove --sync " + At({300, 300}) + " key ctrl+1");
    ASSERT_EQ(view_->ActiveLayer(), CGridloomView::kLayerBackground);

    // The rubber band shows as a dotted frame while the button is down.
    files_.Answer(bmp_);
    const wxPoint a(420, 260), b(560, 380);
    Xdo("mousemove --sync " + At(a) + " mousedown 1");
    Xdo("mousemove --sync " + At(a + wxPoint(3, 3)));
    Xdo("mousemove --sync " + At(b));
    const wxImage band = ClientScreenshot(*window_, "picture-rubber-band");
    EXPECT_GT(DarkPixelsInRow(band, a.y, a.x + 10, b.x - 10), 10);
    Xdo("mouseup 1");
    ASSERT_EQ(doc_->layerObjects.size(), 1u);
    const CRect placed = doc_->layerObjects[0].m_rect;
    const wxImage shown = ClientScreenshot(*window_, "picture-placed");
    EXPECT_TRUE(IsRed(shown, (a + b) / 2));
    EXPECT_FALSE(IsRed(shown, b + wxPoint(20, 20)));

    // Dragged by the middle, it moves; Escape during a drag leaves it where it is.
    Drag((a + b) / 2, (a + b) / 2 + wxPoint(150, 100));
    ASSERT_EQ(doc_->layerObjects.size(), 1u);
    EXPECT_EQ(doc_->layerObjects[0].m_rect.left, placed.left + 150);
    EXPECT_EQ(doc_->layerObjects[0].m_rect.top, placed.top + 100);
    const wxImage moved = ClientScreenshot(*window_, "picture-moved");
    EXPECT_TRUE(IsRed(moved, b + wxPoint(40, 40)));
    EXPECT_FALSE(IsRed(moved, a + wxPoint(20, 20)));
    const CRect afterMove = doc_->layerObjects[0].m_rect;
    Drag(b + wxPoint(40, 40), b + wxPoint(-200, -100), "key Escape");
    EXPECT_EQ(doc_->layerObjects[0].m_rect, afterMove);
    EXPECT_EQ(files_.Requests().size(), 1u);

    // Ctrl+Z undoes the Escape press (nothing), then the move.
    Xdo("key ctrl+z");
    EXPECT_EQ(doc_->layerObjects[0].m_rect, afterMove);
    Xdo("key ctrl+z");
    ASSERT_EQ(doc_->layerObjects.size(), 1u);
    EXPECT_EQ(doc_->layerObjects[0].m_rect, placed);
    const wxImage back = ClientScreenshot(*window_, "picture-undone");
    EXPECT_TRUE(IsRed(back, (a + b) / 2));
    EXPECT_FALSE(IsRed(back, b + wxPoint(40, 40)));
}

TEST(WxFileDialogFilter, OpenPatternsMatchEitherCaseAndSavePatternsStayAsWritten) {
    const std::string filter =
        "Bitmap file(*.bmp)|*.bmp|GIF file(*.gif)|*.gif;*.GIF|All files(*.*)|*.*||";
    EXPECT_EQ(WxFileDialog::Wildcard(filter, true),
              "Bitmap file(*.bmp)|*.[bB][mM][pP]|GIF file(*.gif)|*.[gG][iI][fF];*.[gG][iI][fF]|"
              "All files(*.*)|*");
    EXPECT_EQ(WxFileDialog::Wildcard(filter, false),
              "Bitmap file(*.bmp)|*.bmp|GIF file(*.gif)|*.gif;*.GIF|All files(*.*)|*");
}

// A picture load on the main thread ends when Escape is held down, with its reason, and does
// nothing; let go, the same load goes through (a dark mask blackens every cell).
TEST_F(PictureToolWindowTest, EscapeHeldDownStopsAPictureLoad) {
    CRaster dark(16, 16, 24);
    dark.Clear(0);
    const std::string mask = folder_.File("dark.bmp");
    ASSERT_TRUE(dark.Save(mask, CRaster::kTypeBmp));
    EscapeStopsAMaskLoadThenItApplies(files_, mask);
}
