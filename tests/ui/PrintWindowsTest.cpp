#include "tests/ui/MazeViewWindowFixture.h"

#include "platform/wx/WxPrintSession.h"
#include "tests/ui/ModalDialogDriver.h"
#include "view/MazePrintDialogValues.h"
#include "view/ui/CMazePrintDialog.h"
#include "view/ui/WxPrintJobs.h"

#include <wx/checkbox.h>
#include <wx/print.h>
#include <wx/textctrl.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

template <class T> T* Control(wxWindow& dialog, int id) {
    T* control = dynamic_cast<T*>(dialog.FindWindow(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

class PrintWindowsTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        if (!ModalDialogDriver::HaveXdotool())
            GTEST_SKIP() << "xdotool missing";
    }
    ModalDialogDriver driver_;
};

} // namespace

TEST_F(PrintWindowsTest, TheOptionsDialogRefusesACountOutOfRangeAndFollowsThePageKinds) {
    using V = MazePrintDialogValues;
    V values;
    values.settings.numberOfMazes = 2;
    CMazePrintDialog dialog(nullptr, values);
    EXPECT_EQ(dialog.GetTitle(), "Orlimber Print Dialog");
    auto* count = Control<wxTextCtrl>(dialog, V::kCountId);
    auto* maze = Control<wxCheckBox>(dialog, V::kMazeId);
    auto* mazeText = Control<wxCheckBox>(dialog, V::kFirstMazeLayerId + 3);
    auto* solutionText = Control<wxCheckBox>(dialog, V::kFirstSolutionLayerId + 3);
    auto* print = dialog.FindWindow(wxID_OK);
    bool openAfterRefusal = false, layersFollow = false;
    const int result = driver_.Run(dialog, [&](ModalDialogDriver& d) {
        d.Retype(count, "1000");
        d.Click(print);
        d.OnMain([&] { openAfterRefusal = dialog.IsShown() && dialog.IsModal(); });
        d.Click(maze);
        d.OnMain([&] { layersFollow = !mazeText->IsEnabled() && solutionText->IsEnabled(); });
        d.Click(solutionText);
        d.Retype(count, "12");
        d.Screenshot(&dialog, "print-options");
        d.Click(print);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_TRUE(layersFollow);
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text, "Please enter an integer between 1 and 999.");
    EXPECT_EQ(values.settings.numberOfMazes, 12);
    EXPECT_EQ(values.settings.printMaze, 0);
    EXPECT_EQ(values.settings.solutionLayers[4], 0);
    EXPECT_EQ(values.selectPrinter, 0);
}

namespace {

// The program's window with a made 12 x 12 maze that prints through the toolkit's session.
class PrintPreviewWindowTest : public MazeViewWindowFixture {
protected:
    void TearDown() override {
        if (view_)
            view_->SetPrintJobs(nullptr);
        MazeViewWindowFixture::TearDown();
    }
    int BoxCells() const override { return 12; }
    bool MakesMaze() const override { return true; }
    bool UsesEditToolbar() const override { return false; }
    void WireBeforeShow() override {
        jobs_ = std::make_unique<WxPrintJobs>(session_, [this] { return frame_; });
        view_->SetPrintJobs(jobs_.get());
    }

    WxPrintSession session_;
    std::unique_ptr<WxPrintJobs> jobs_;
};

} // namespace

TEST_F(PrintPreviewWindowTest, CtrlPOpensTheOptionsTheFileMenuThePreviewAndKeysWorkAfterIt) {
    CGridloomDoc& doc = *doc_;
    CGridloomView& view = *view_;
    CMainFrame* frame = frame_;
    const std::vector<MazeCell> before(doc.GetGrid(0)->Cells().begin(),
                                       doc.GetGrid(0)->Cells().end());

    // The dialog is modal: a helper waits for it and closes it with Escape.
    std::atomic<bool> seen{false};
    std::thread closer([&seen] {
        seen = xdo::FocusWindowNamed("^Orlimber Print Dialog$");
        if (seen)
            xdo::Run("key Escape");
    });
    xdo::Run("key ctrl+p");
    xdo::PumpUntil([&seen] { return seen.load(); }, 20000);
    closer.join();
    EXPECT_TRUE(seen);

    int menuOpens = 0;
    frame->Bind(wxEVT_MENU_OPEN, [&menuOpens](wxMenuEvent& event) {
        ++menuOpens;
        event.Skip();
    });
    ASSERT_TRUE(xdo::Run("key alt+f"));
    ASSERT_TRUE(xdo::PumpUntil([&menuOpens] { return menuOpens > 0; }, 5000));
    ASSERT_TRUE(xdo::Run("key v"));
    wxPreviewFrame* preview = nullptr;
    xdo::PumpUntil(
        [&preview] {
            for (wxWindow* w : wxTopLevelWindows)
                if (auto* p = dynamic_cast<wxPreviewFrame*>(w); p && p->IsShown())
                    preview = p;
            return preview != nullptr;
        },
        10000);
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(xdo::Settled(*preview));
    if (const char* out = std::getenv("ORLIMBER_TEST_OUT"))
        std::system(("import -window root '" + std::string(out) + "/print-preview.png'").c_str());
    EXPECT_EQ(preview->GetControlBar()->GetPrintPreview()->GetMinPage(), 1);
    EXPECT_EQ(preview->GetControlBar()->GetPrintPreview()->GetMaxPage(), 2);
    const std::vector<MazeCell> after(doc.GetGrid(0)->Cells().begin(),
                                      doc.GetGrid(0)->Cells().end());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), after.end(),
                           [](const MazeCell& a, const MazeCell& b) {
                               return a.flags == b.flags && a.passages == b.passages;
                           }));

    // Closed with its own button, the preview hands the keys back: the view's shortcuts
    // work at once, without a click in the view.
    wxWindow* close = preview->GetControlBar()->FindWindow(wxID_PREVIEW_CLOSE);
    ASSERT_NE(close, nullptr);
    ASSERT_TRUE(xdo::Click(*close, close->GetSize().x / 2, close->GetSize().y / 2));
    ASSERT_TRUE(xdo::PumpUntil(
        [] {
            for (wxWindow* w : wxTopLevelWindows)
                if (dynamic_cast<wxPreviewFrame*>(w))
                    return false;
            return true;
        },
        10000));
    ASSERT_EQ(view.ActiveLayer(), CGridloomView::kLayerMaze);
    xdo::Run("key ctrl+1");
    EXPECT_TRUE(xdo::PumpUntil(
        [&view] { return view.ActiveLayer() == CGridloomView::kLayerBackground; }, 5000));
    xdo::Run("key ctrl+shift+5");
    EXPECT_TRUE(xdo::PumpUntil([&view] { return view.ShowSolution(); }, 5000));
}
