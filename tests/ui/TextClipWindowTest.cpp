#include "tests/ui/MazeViewWindowFixture.h"

#include "image/core/CRaster.h"
#include "platform/FontDialog.h"
#include "platform/wx/FontChoiceDialog.h"
#include "platform/wx/WxClipboard.h"
#include "tests/support/LineRecorder.h"
#include "tests/ui/ModalDialogDriver.h"
#include "view/DrawingCopy.h"
#include "view/LayerObjectOrder.h"
#include "view/ui/TextBoxWindow.h"

#include <wx/checkbox.h>
#include <wx/spinctrl.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

bool HaveXclip() {
    return std::system("command -v xclip >/dev/null 2>&1") == 0;
}

// Runs a shell command on its own thread while the toolkit answers the clipboard's requests
// (the program owns what it copied and must serve it); its exit code, or -1 on timeout.
int RunWhilePumping(const std::string& command, int milliseconds = 8000) {
    std::atomic<int> code{-1};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        code = std::system(command.c_str());
        done = true;
    });
    xdo::PumpUntil([&] { return done.load(); }, milliseconds);
    worker.join();
    return code;
}

// Pixels of `area` that are dark in `after` and were not in `before`.
int NewDarkPixels(const wxImage& before, const wxImage& after, const wxRect& area) {
    const auto dark = [](const wxImage& i, int x, int y) {
        return i.GetRed(x, y) < 100 && i.GetGreen(x, y) < 100 && i.GetBlue(x, y) < 100;
    };
    int n = 0;
    for (int y = area.y; y < area.GetBottom(); ++y)
        for (int x = area.x; x < area.GetRight(); ++x)
            n += dark(after, x, y) && !dark(before, x, y);
    return n;
}

// The program's window with a 20 x 20 Box template, the desktop's clipboard and a scripted
// font dialog.
class TextClipWindowTest : public MazeViewWindowFixture {
protected:
    void WireBeforeShow() override {
        view_->SetClipboard(&clipboard_);
        frame_->Router().SetBeforeExecute([this](UINT id) { view_->BeforeCommand(id); });
        window_->SetInfoPaneCollapser([this] { frame_->SetInfoPaneHeight(0, 0); });
    }

    // A rubber band on the view from one client point to another, with real input; done when
    // the press has ended (a text box opened, or nothing was made).
    void Band(wxPoint from, wxPoint to) {
        const std::size_t requests = fonts_.Requests().size();
        ASSERT_TRUE(xdo::MoveTo(*window_, from.x, from.y));
        ASSERT_TRUE(xdo::Run("mousedown 1"));
        ASSERT_TRUE(xdo::MoveTo(*window_, (from.x + to.x) / 2, (from.y + to.y) / 2));
        ASSERT_TRUE(xdo::MoveTo(*window_, to.x, to.y));
        ASSERT_TRUE(xdo::Run("mouseup 1"));
        ASSERT_TRUE(xdo::PumpUntil([&] {
            return fonts_.Requests().size() > requests && !wxGetMouseState().LeftIsDown();
        })) << "the band asks for a font";
        xdo::PumpUntil([this] { return window_->TextBox().IsShown(); });
    }

    ScriptedFontDialog fonts_;
    IFontDialog::Installation fontsInstalled_{fonts_};
    WxClipboard clipboard_;
};

} // namespace

TEST_F(TextClipWindowTest, TypedTextBecomesTheObjectsAndFollowsTheScroll) {
    // Nothing on the clipboard that is text: the new box starts empty.
    ASSERT_TRUE(clipboard_.WriteText(""));
    Xdo("key ctrl+4");
    ASSERT_EQ(view_->ActiveLayer(), CGridloomView::kLayerText);
    const wxImage empty = ClientScreenshot(*window_, "text-object-before");
    FontChoice big;
    big.tenths = 240;
    big.bold = true;
    fonts_.Choose(big);
    Band({100, 120}, {420, 220});
    ASSERT_EQ(doc_->layerObjects.size(), 1u);
    TextBoxWindow& box = window_->TextBox();
    ASSERT_TRUE(box.IsShown());
    EXPECT_EQ(wxWindow::FindFocus(), &box);
    EXPECT_EQ(box.GetRect(), wxRect(97, 117, 326, 106));

    Xdo("type --delay 40 Hello");
    EXPECT_EQ(box.GetValue(), "Hello");
    // Ctrl+V in the box inserts at the caret instead of replacing the text, and Ctrl+A
    // selects the box's text instead of toggling animation.
    ASSERT_TRUE(clipboard_.WriteText("XY"));
    Xdo("key Left ctrl+v");
    EXPECT_EQ(box.GetValue(), "HellXYo");
    const int animate = doc_->Settings().animate;
    Xdo("key ctrl+a");
    EXPECT_EQ(doc_->Settings().animate, animate);

    // The box stays over its object while the page scrolls.
    window_->ScrollToPagePixel(CPoint(0, 60));
    const auto followed = [&] {
        return box.GetPosition() == wxPoint(97, 117 - window_->ScrollPosition().y);
    };
    ASSERT_TRUE(xdo::PumpUntil([&] { return window_->ScrollPosition().y > 0 && followed(); }))
        << window_->ScrollPosition().y << " " << box.GetPosition().y;
    window_->ScrollToPagePixel(CPoint(0, 0));
    EXPECT_TRUE(xdo::PumpUntil([&] { return box.GetPosition() == wxPoint(97, 117); }))
        << box.GetPosition().y;

    // A press elsewhere ends the editing; the page shows the text.
    ASSERT_TRUE(xdo::Click(*window_, 600, 500));
    EXPECT_TRUE(xdo::PumpUntil([&] { return !box.IsShown(); }));
    EXPECT_EQ(doc_->layerObjects[0].GetText(), "HellXYo");
    EXPECT_EQ(doc_->layerObjects[0].GetSelectionStyle(), LayerObjectOrder::kOnLayer);
    view_->SetActiveLayer(CGridloomView::kLayerMaze); // no marks over the text
    const wxImage shot = ClientScreenshot(*window_, "text-object-hello");
    EXPECT_GT(NewDarkPixels(empty, shot, wxRect(100, 120, 320, 40)), 150);
    EXPECT_EQ(NewDarkPixels(empty, shot, wxRect(100, 170, 320, 50)), 0);
    // With the box hidden again the view has the arrow keys.
    window_->SetFocus();
    ASSERT_TRUE(xdo::PumpUntil([this] { return wxWindow::FindFocus() == window_; }));
    Xdo("key Down");
    EXPECT_GT(window_->ScrollPosition().y, 0);
}

TEST_F(TextClipWindowTest, MenuPasteOnTheTextLayerReplacesTheWholeText) {
    Xdo("key ctrl+4");
    ASSERT_TRUE(clipboard_.WriteText("Clip"));
    fonts_.Accept();
    Band({100, 100}, {300, 200});
    TextBoxWindow& box = window_->TextBox();
    EXPECT_EQ(box.GetValue(), "Clip"); // a new object starts with the clipboard's text
    Xdo("type --delay 40 more");
    ASSERT_TRUE(frame_->RunCommand(ID_EDIT_PASTE));
    EXPECT_EQ(box.GetValue(), "Clip");
}

TEST_F(TextClipWindowTest, CopyServesAPngAndBmpThatOtherProgramsRead) {
    if (!HaveXclip())
        GTEST_SKIP() << "xclip missing";
    // A selected text object is on the screen with its frame; the copy has none.
    Xdo("key ctrl+4");
    fonts_.Accept();
    Band({100, 100}, {300, 200});
    ASSERT_TRUE(frame_->RunCommand(ID_EDIT_COPY));
    EXPECT_FALSE(window_->TextBox().IsShown());

    const std::string png = folder_.File("copy.png");
    const std::string targets = folder_.File("targets.txt");
    ASSERT_EQ(RunWhilePumping("xclip -selection clipboard -t TARGETS -o > '" + targets + "'"), 0);
    ASSERT_EQ(RunWhilePumping("xclip -selection clipboard -t image/png -o > '" + png + "'"), 0);
    ASSERT_EQ(RunWhilePumping("xclip -selection clipboard -t image/bmp -o > '" +
                              folder_.File("copy.bmp") + "'"),
              0);
    const CSize extent = DrawingCopy::PixelExtent(*view_);
    const std::string expected =
        std::to_string(extent.cx + 1) + " " + std::to_string(extent.cy + 1);
    const auto identify = [](const std::string& path) {
        std::string out;
        if (FILE* p = popen(("identify -format '%w %h' '" + path + "'").c_str(), "r")) {
            char buffer[64] = {};
            while (fgets(buffer, sizeof buffer, p))
                out += buffer;
            pclose(p);
        }
        return out;
    };
    EXPECT_EQ(identify(png), expected);
    EXPECT_EQ(identify(folder_.File("copy.bmp")), expected);
    // The frame drawn around the selected object on the screen is not in the copy: it is
    // the drawing as it is with nothing marked.
    view_->SetActiveLayer(CGridloomView::kLayerMaze);
    CRaster unmarked;
    ASSERT_EQ(DrawingCopy::Render(*view_, unmarked), "");
    const std::string reference = folder_.File("unmarked.png");
    ASSERT_TRUE(unmarked.Save(reference, CRaster::kTypePng));
    const std::string compare = "compare -metric AE '" + png + "' '" + reference + "' null: 2>&1";
    std::string differing;
    if (FILE* p = popen(compare.c_str(), "r")) {
        char buffer[64] = {};
        while (fgets(buffer, sizeof buffer, p))
            differing += buffer;
        pclose(p);
    }
    EXPECT_EQ(differing, "0");
}

TEST_F(TextClipWindowTest, PicturesAndTextPutThereByOtherProgramsPaste) {
    if (!HaveXclip())
        GTEST_SKIP() << "xclip missing";
    const std::string png = folder_.File("offered.png");
    ASSERT_EQ(std::system(("convert -size 33x21 xc:'rgb(10,200,30)' '" + png + "'").c_str()), 0);
    // xclip serves the selection until someone else takes it; the test takes it back at
    // the end, which lets xclip end.
    std::atomic<bool> served{false};
    std::thread owner([&] {
        std::system(
            ("xclip -quiet -selection clipboard -t image/png -i '" + png + "' >/dev/null 2>&1")
                .c_str());
        served = true;
    });
    // Once xclip holds the selection.
    ASSERT_TRUE(xdo::PumpUntil([&] { return clipboard_.OffersPicture(); }, 5000));
    Xdo("key ctrl+1");
    ASSERT_TRUE(view_->CanPaste());
    ASSERT_TRUE(view_->OnEditPaste());
    EXPECT_TRUE(view_->Pending().IsPending());
    EXPECT_EQ(view_->Pending().Working().GetWidth(), 33u);
    EXPECT_EQ(view_->Pending().Working().GetHeight(), 21u);
    EXPECT_EQ(view_->Pending().Working().GetPixelColor(5, 5).rgbGreen, 200);
    clipboard_.WriteText("taken back");
    xdo::PumpUntil([&] { return served.load(); }, 5000);
    owner.join();

    std::atomic<bool> textServed{false};
    std::thread textOwner([&] {
        std::system("printf 'from xclip' | xclip -quiet -selection clipboard >/dev/null 2>&1");
        textServed = true;
    });
    ASSERT_TRUE(xdo::PumpUntil([&] { return clipboard_.ReadText() == "from xclip"; }, 5000));
    Xdo("key ctrl+4");
    fonts_.Accept();
    Band({100, 100}, {300, 200});
    EXPECT_EQ(window_->TextBox().GetValue(), "from xclip");
    clipboard_.WriteText("taken back");
    xdo::PumpUntil([&] { return textServed.load(); }, 5000);
    textOwner.join();
}

// Another program may offer a picture and hand over no bytes, or bytes that are no picture:
// Ctrl+V takes nothing and says why, on the status bar for nothing at all, in a box naming
// the fault for a damaged picture; never the toolkit's assertion.
TEST_F(TextClipWindowTest, PicturesOtherProgramsCannotHandOverSayWhy) {
    if (!HaveXclip())
        GTEST_SKIP() << "xclip missing";
    std::string status;
    window_->SetStatusReporter([&status](const std::string& text) { status = text; });
    const std::string good = folder_.File("good.png");
    ASSERT_EQ(std::system(("convert -size 40x30 xc:red '" + good + "'").c_str()), 0);
    const std::string cut = folder_.File("cut.png");
    ASSERT_EQ(std::system(("head -c 60 '" + good + "' > '" + cut + "'").c_str()), 0);
    const std::string foreign = folder_.File("foreign.png");
    std::ofstream(foreign) << std::string(300, 'x');
    const std::string empty = folder_.File("empty.png");
    std::ofstream{empty};
    Xdo("key ctrl+1");

    const std::string unread = "The picture on the Clipboard could not be read: ";
    const struct {
        std::string file;
        std::string status;
        std::string box;
    } cases[] = {{empty, CGridloomView::kNothingToPaste, ""},
                 {cut, "", unread + "Read Error"},
                 {foreign, "", unread + "Not a PNG file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::atomic<bool> served{false};
        std::thread owner([&] {
            std::system(("xclip -quiet -selection clipboard -t image/png -i '" + c.file +
                         "' >/dev/null 2>&1")
                            .c_str());
            served = true;
        });
        status.clear();
        prompts_.Clear();
        ASSERT_TRUE(xdo::PumpUntil([&] { return clipboard_.OffersPicture(); }, 3000));
        Xdo("key ctrl+v");
        xdo::PumpUntil([&] { return !status.empty() || !prompts_.ShownBoxes().empty(); });
        EXPECT_EQ(status, c.status);
        ASSERT_EQ(prompts_.ShownBoxes().size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(prompts_.ShownBoxes()[0].text, c.box);
        }
        EXPECT_FALSE(view_->Pending().IsPending());
        clipboard_.WriteText("taken back");
        xdo::PumpUntil([&] { return served.load(); }, 5000);
        owner.join();
    }
}

TEST_F(TextClipWindowTest, TheFontDialogAnswersWhatItShows) {
    FontChoice start;
    start.face = "Liberation Serif";
    FontChoiceDialog dialog(frame_, start);
    auto* bold = dynamic_cast<wxCheckBox*>(dialog.FindWindow("bold"));
    auto* strike = dynamic_cast<wxCheckBox*>(dialog.FindWindow("strikeout"));
    auto* size = dynamic_cast<wxSpinCtrlDouble*>(dialog.FindWindow("size"));
    ASSERT_TRUE(bold && strike && size);
    ModalDialogDriver driver;
    const int result = driver.Run(dialog, [&](ModalDialogDriver& d) {
        d.Click(bold);
        d.Click(strike);
        d.Retype(size, "20.5");
        d.Key("Tab");
        d.Screenshot(&dialog, "font-dialog");
        d.Click(dialog.FindWindow(wxID_OK));
    });
    ASSERT_EQ(result, wxID_OK);
    const FontChoice chosen = dialog.Choice();
    EXPECT_EQ(chosen.face, "Liberation Serif");
    EXPECT_TRUE(chosen.bold);
    EXPECT_TRUE(chosen.strikeOut);
    EXPECT_FALSE(chosen.italic);
    EXPECT_EQ(chosen.tenths, 205);
    FontDialogRequest request;
    const FontDialogAnswer answer = IFontDialog::Answer(chosen, request);
    EXPECT_EQ(answer.log.lfWeight, 700);
    EXPECT_EQ(answer.log.lfStrikeOut, 1);
    EXPECT_EQ(answer.log.lfHeight, -27);
}

// What fits while the text is typed fits once it is drawn: the box shows the text at the size
// and with the line breaks of the page.
TEST_F(TextClipWindowTest, TheBoxShowsTheTextAsThePageDrawsIt) {
    ASSERT_TRUE(clipboard_.WriteText(""));
    Xdo("key ctrl+4");
    ASSERT_EQ(view_->ActiveLayer(), CGridloomView::kLayerText);
    FontChoice arial;
    arial.tenths = 120;
    fonts_.Choose(arial);
    Band({100, 120}, {331, 300});
    ASSERT_EQ(doc_->layerObjects.size(), 1u);
    TextBoxWindow& box = window_->TextBox();
    ASSERT_TRUE(box.IsShown());
    const std::string text = "The quick brown fox jumps over the lazy dog and the maze wall";
    ASSERT_TRUE(xdo::Run("type --delay 2 '" + text + "'"));
    ASSERT_TRUE(xdo::PumpUntil([&] { return box.GetValue() == text; }, 20000)) << box.GetValue();

    // The box's lines, from where it places each character.
    std::vector<std::string> typed;
    std::vector<int> firstLineX;
    int lineY = -1;
    for (long i = 0; i < static_cast<long>(text.size()); ++i) {
        const wxPoint at = box.PositionToCoords(i);
        if (typed.empty() || at.y != lineY)
            typed.emplace_back();
        lineY = at.y;
        typed.back() += text[i];
        if (typed.size() == 1)
            firstLineX.push_back(at.x);
    }
    for (std::string& line : typed)
        while (!line.empty() && line.back() == ' ')
            line.pop_back();

    // The page's lines, drawn as the view's page buffer draws the object.
    CLogicalRectTracker object = doc_->layerObjects[0];
    object.SetText(text);
    object.SetSelectionStyle(LayerObjectOrder::kOnLayer);
    LineRecorder::Drawn drawn;
    {
        CDC dc(std::make_unique<LineRecorder>(96, drawn));
        dc.SetMapMode(MM_HIENGLISH);
        object.Draw(dc);
    }
    ASSERT_GT(drawn.lines.size(), 1u);
    EXPECT_EQ(typed, drawn.lines);
    // The same size: the first line's characters stand where the page puts them.
    const std::vector<double>& starts = drawn.starts.front();
    ASSERT_GE(starts.size(), firstLineX.size());
    for (std::size_t i = 0; i < firstLineX.size(); ++i)
        EXPECT_NEAR(firstLineX[i] - firstLineX[0], starts[i] - starts[0], 1.0) << i;
}
