#include "tests/view/ViewToolTestSupport.h"

#include "document/WkzFileCommands.h"
#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "platform/FileDialog.h"
#include "platform/MouseKeyFlags.h"
#include "tests/support/FakeClipboard.h"
#include "view/PictureLayerTool.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <fstream>

namespace {

using Button = ViewMouseController::Button;

class PictureToolTest : public ViewToolTest {
protected:
    void SetUp() override {
        ViewToolTest::SetUp();
        doc = &NewDoc(0, 8, 8);
        view = &ToolView(*doc);
        view->PaintScreen();
        view->SetActiveLayer(CGridloomView::kLayerBackground);
        // An 8-bit picture, raised to 24 bits when placed.
        CRaster grey(6, 4, 8);
        grey.SetGrayPalette();
        ASSERT_TRUE(grey.Save(bmp_, CRaster::kTypeBmp));
    }
    void Drag(CPoint from, CPoint to) {
        view->Mouse().ButtonDown(Button::Left, 0, from);
        view->Mouse().Move(MK_LBUTTON, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        view->Mouse().Move(MK_LBUTTON, to);
        view->Mouse().ButtonUp(Button::Left, 0, to);
    }
    CRect Logical(CRect page) {
        view->Buffer().Dc().DPtoLP(&page);
        return page;
    }
    std::vector<CLogicalRectTracker>& Objects() { return doc->layerObjects; }

    CGridloomDoc* doc = nullptr;
    CGridloomView* view = nullptr;
    ScriptedFileDialog files_;
    IFileDialog::Installation filesInstalled_{files_};
    std::string bmp_ = folder_.File("grey.bmp");
};

TEST_F(PictureToolTest, ARubberBandPlacesAPictureAndAPressMovesTheTopmostOfTheLayer) {
    window_.scroll = CPoint(15, 25);
    files_.Answer(bmp_);
    Drag({80, 60}, {20, 20}); // drawn backwards: the frame is normalised
    ASSERT_EQ(Objects().size(), 1u);
    ASSERT_EQ(files_.Requests().size(), 1u);
    EXPECT_EQ(files_.Requests()[0].filter, PictureLayerTool::kFileFilter);
    const CLogicalRectTracker& first = Objects()[0];
    EXPECT_EQ(first.m_rect, CRect(35, 45, 95, 85));
    EXPECT_EQ(first.GetLogicalRect(), Logical(CRect(35, 45, 95, 85)));
    EXPECT_EQ(first.GetLayer(), CGridloomView::kLayerBackground);
    EXPECT_EQ(first.GetSelectionStyle(), 2);
    ASSERT_NE(first.GetImage(), nullptr);
    EXPECT_EQ(first.GetImage()->GetBpp(), 24);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->reRender, 1);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());

    files_.Answer(bmp_);
    Drag({100, 30}, {40, 70});
    ASSERT_EQ(Objects().size(), 2u);
    EXPECT_EQ(Objects()[0].GetSelectionStyle(), 1); // only the newest is selected

    // Where both lie, the later one (drawn on top) moves; the other keeps its frame.
    Drag({50, 50}, {60, 55});
    EXPECT_EQ(Objects()[0].m_rect, CRect(35, 45, 95, 85));
    EXPECT_EQ(Objects()[1].m_rect, CRect(65, 60, 125, 100));
    EXPECT_EQ(Objects()[1].GetLogicalRect(), Logical(CRect(65, 60, 125, 100)));
    EXPECT_EQ(Objects()[1].GetSelectionStyle(), 2);
    EXPECT_EQ(files_.Requests().size(), 2u);

    // On the foreground layer those pictures are not there: a rubber band starts, and a
    // cancelled dialog adds nothing and says nothing.
    view->SetActiveLayer(CGridloomView::kLayerForeground);
    Drag({50, 50}, {60, 55});
    EXPECT_EQ(files_.Requests().size(), 3u);
    EXPECT_EQ(Objects().size(), 2u);
    EXPECT_EQ(Objects()[1].m_rect, CRect(65, 60, 125, 100));
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(PictureToolTest, EscapeOrAnEmptyBandKeepsEverythingAsItWas) {
    files_.Answer(bmp_);
    Drag({10, 10}, {70, 50});
    ASSERT_EQ(Objects().size(), 1u);
    const CRect placed = Objects()[0].m_rect;

    // The dotted frame follows the drag in the overlay; Escape drops it and the move.
    view->Mouse().ButtonDown(Button::Left, 0, {40, 30});
    view->Mouse().Move(MK_LBUTTON, {140, 130});
    EXPECT_TRUE(view->FrameTracking().IsTracking());
    RasterSurface* shown = view->PaintClient(CRect(0, 0, 800, 600));
    ASSERT_NE(shown, nullptr);
    int dark = 0;
    for (int x = 110; x < 170; ++x)
        dark += (shown->Row(110)[x] & 0xFFFFFF) == 0 ? 1 : 0;
    EXPECT_GT(dark, 5); // the frame's top edge, dotted
    EXPECT_EQ(Objects()[0].m_rect, placed);
    doc->SetModifiedFlag(false);
    view->Mouse().Cancel();
    view->Mouse().ButtonUp(Button::Left, 0, {140, 130});
    EXPECT_FALSE(view->FrameTracking().IsTracking());
    EXPECT_EQ(Objects()[0].m_rect, placed);
    EXPECT_TRUE(doc->IsModified()); // as every finished press does

    // A cancelled rubber band and one without area add nothing and ask nothing.
    view->Mouse().ButtonDown(Button::Left, 0, {300, 300});
    view->Mouse().Move(MK_LBUTTON, {350, 350});
    view->Mouse().CaptureLost();
    view->Mouse().ButtonUp(Button::Left, 0, {350, 350});
    Drag({300, 300}, {300, 360});
    EXPECT_EQ(Objects().size(), 1u);
    EXPECT_EQ(files_.Requests().size(), 1u);
}

TEST_F(PictureToolTest, AClipboardPictureIsOfferedUnlessOneIsAlreadyPending) {
    FakeClipboard clip;
    view->SetClipboard(&clip);
    clip.picture = RgbaPicture{2, 1, {255, 0, 0, 255, 0, 0, 255, 128}};
    prompts_.Answer(IDYES);
    Drag({10, 10}, {50, 50});
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, PictureLayerTool::kPasteQuestion);
    EXPECT_EQ(prompts_.ShownBoxes()[0].caption, PictureLayerTool::kPasteCaption);
    EXPECT_EQ(prompts_.ShownBoxes()[0].type & 0xF, UINT(MB_YESNO));
    ASSERT_EQ(Objects().size(), 1u);
    const CRaster* pasted = Objects()[0].GetImage();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->GetWidth(), 2u);
    EXPECT_EQ(pasted->GetPixelColor(0, 0, false), RGBQUAD::FromRgb(255, 0, 0));
    EXPECT_EQ(pasted->GetAlpha(1, 0), 128);
    EXPECT_FALSE(view->Pending().IsPending());
    EXPECT_TRUE(files_.Requests().empty());

    // A paste made beforehand is placed without a question.
    clip.picture = RgbaPicture{1, 1, {0, 0, 200, 255}};
    ASSERT_TRUE(view->Pending().PasteFrom(clip));
    Drag({100, 100}, {150, 150});
    EXPECT_EQ(prompts_.ShownBoxes().size(), 1u);
    ASSERT_EQ(Objects().size(), 2u);
    EXPECT_EQ(Objects()[1].GetImage()->GetPixelColor(0, 0, false), RGBQUAD::FromRgb(0, 0, 200));

    // No: the file dialog asks instead.
    prompts_.Answer(IDNO);
    files_.Answer(bmp_);
    Drag({200, 200}, {250, 250});
    EXPECT_EQ(prompts_.ShownBoxes().size(), 2u);
    EXPECT_EQ(files_.Requests().size(), 1u);
    EXPECT_EQ(Objects().size(), 3u);

    // A clipboard picture whose bytes do not cover its size is not taken.
    clip.picture = RgbaPicture{4, 4, {1, 2, 3, 4}};
    EXPECT_FALSE(view->Pending().PasteFrom(clip));
    EXPECT_FALSE(view->Pending().IsPending());
}

TEST_F(PictureToolTest, AFileThatCannotBeReadIsReportedAndAddsNothing) {
    const std::string bad = folder_.File("bad.bmp");
    {
        // A bitmap header claiming a picture far larger than the file.
        std::ofstream out(bad, std::ios::binary);
        const unsigned char header[] = {'B',  'M',  0x46, 0,    0,    0,    0, 0, 0,    0,
                                        0x36, 0,    0,    0,    40,   0,    0, 0, 0xFF, 0xFF,
                                        0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 24,   0};
        out.write(reinterpret_cast<const char*>(header), sizeof header);
    }
    const std::string missing = folder_.File("gone.gif");
    for (const std::string& file : {bad, missing}) {
        files_.Answer(file);
        prompts_.Clear();
        Drag({10, 10}, {60, 60});
        EXPECT_TRUE(Objects().empty()) << file;
        ASSERT_EQ(prompts_.ShownBoxes().size(), 1u) << file;
        const std::string said = prompts_.ShownBoxes()[0].text;
        EXPECT_EQ(said.rfind(PictureLayerTool::kLoadFailed + file + "\n", 0), 0u) << said;
        EXPECT_GT(said.size(), std::string(PictureLayerTool::kLoadFailed).size() + file.size() + 1);
    }
}

// A document whose pictures already fill its total takes no more: it could be saved but never
// opened again. Objects sharing one picture count once each, as reading them back would.
TEST_F(PictureToolTest, APictureBeyondTheDocumentsTotalIsRefused) {
    auto large = std::make_shared<CRaster>(4000, 4000, 24); // 48 MB
    for (int i = 0; i < 9; ++i) {
        CLogicalRectTracker object;
        object.SetImage(large, CLogicalRectTracker::kindPicture);
        Objects().push_back(object);
    }
    files_.Answer(bmp_);
    prompts_.Clear();
    Drag({10, 10}, {60, 60});
    EXPECT_EQ(Objects().size(), 9u);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    // Refused when placed, or already when read within what is left: either way by the total.
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find(
                  "all the pictures of one document together may hold at most 400 MB"),
              std::string::npos)
        << prompts_.ShownBoxes()[0].text;
    // With one fewer it fits.
    Objects().pop_back();
    files_.Answer(bmp_);
    prompts_.Clear();
    Drag({10, 10}, {60, 60});
    EXPECT_EQ(Objects().size(), 9u);
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(PictureToolTest, AJpegPictureIsSavedWithTheBytesItWasReadFrom) {
    const std::string jpg = folder_.File("photo.jpg");
    // Made by an outside encoder, with detail that any re-encoding would disturb.
    ASSERT_EQ(std::system(("convert -size 48x32 plasma:red-blue -seed 7 -quality 70 '" + jpg +
                           "' 2>/dev/null")
                              .c_str()),
              0);
    const auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
    };
    const std::vector<BYTE> original = read(jpg);
    const auto holdsOriginal = [&](const std::vector<BYTE>& file) {
        return std::search(file.begin(), file.end(), original.begin(), original.end()) !=
               file.end();
    };
    CRaster decoded;
    ASSERT_TRUE(decoded.Load(jpg));

    files_.Answer(jpg);
    Drag({10, 10}, {60, 60});
    ASSERT_EQ(Objects().size(), 1u);
    const std::string first = folder_.File("first.wkz");
    doc->formatVersion = 2.0; // the version that holds layer objects
    ASSERT_TRUE(WkzFileCommands::SaveFile(*doc, first)) << doc->pendingMessage;
    EXPECT_TRUE(holdsOriginal(read(first)));

    // Opened and saved again, twice: the bytes and so every pixel stay as the file had them.
    for (const char* name : {"second.wkz", "third.wkz"}) {
        ASSERT_TRUE(WkzFileCommands::OpenFile(*doc, doc->GetPathName())) << doc->pendingMessage;
        ASSERT_EQ(Objects().size(), 1u);
        const CRaster* back = Objects()[0].GetImage();
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetType(), DWORD(CRaster::kTypeJpg));
        ASSERT_EQ(back->GetWidth(), decoded.GetWidth());
        ASSERT_EQ(back->GetHeight(), decoded.GetHeight());
        long differing = 0;
        for (LONG y = 0; y < LONG(decoded.GetHeight()); ++y)
            for (LONG x = 0; x < LONG(decoded.GetWidth()); ++x) {
                const RGBQUAD a = back->GetPixelColor(x, y), b = decoded.GetPixelColor(x, y);
                differing +=
                    a.rgbRed != b.rgbRed || a.rgbGreen != b.rgbGreen || a.rgbBlue != b.rgbBlue;
            }
        EXPECT_EQ(differing, 0) << name;
        ASSERT_TRUE(WkzFileCommands::SaveFile(*doc, folder_.File(name))) << doc->pendingMessage;
        EXPECT_TRUE(holdsOriginal(read(folder_.File(name)))) << name;
    }
    EXPECT_EQ(read(folder_.File("third.wkz")), read(folder_.File("second.wkz")));
}

} // namespace
