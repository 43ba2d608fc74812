#pragma once
#include "tests/support/DocTestSupport.h"

#include "frame/GridloomDocState.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "image/core/CRaster.h"
#include "maze/MazeCell.h"
#include "maze/TemplateKind.h"
#include "platform/FileDialog.h"
#include "platform/wx/WxBusyCursor.h"
#include "res/CommandIds.h"
#include "tests/ui/XdoTool.h"
#include "view/CGridloomView.h"
#include "view/ui/MazeViewWindow.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <cstdlib>
#include <memory>
#include <string>

// What the screen shows of a window's client area, saved next to the test's results.
inline wxImage ClientScreenshot(wxWindow& window, const std::string& name) {
    // Painted now, and read back from the server, which has the paint before it answers.
    window.Refresh(false);
    window.Update();
    wxImage image =
        xdo::ServerImage(wxRect(window.ClientToScreen(wxPoint(0, 0)), window.GetClientSize()));
    if (const char* out = std::getenv("ORLIMBER_TEST_OUT")) {
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler);
        image.SaveFile(std::string(out) + "/" + name + ".png", wxBITMAP_TYPE_PNG);
    }
    return image;
}

// The program's window as it starts: the main frame with the maze view in the splitter's top
// row, commands routed view, document, frame, and a fresh Box template of BoxCells() square.
class MazeViewWindowFixture : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        if (!xdo::Available())
            GTEST_SKIP() << "xdotool missing";
        doc_ = std::make_unique<CGridloomDoc>(Profile());
        state_ = std::make_unique<GridloomDocState>(*doc_);
        view_ = std::make_unique<CGridloomView>();
        view_->SetDocument(doc_.get());
        frame_ = new CMainFrame(); // owned by wx
        frame_->Router().SetDocument(doc_.get());
        frame_->Router().SetView(view_.get());
        frame_->Commands().SetMazeState(state_.get());
        window_ = new MazeViewWindow(frame_->Splitter(), *view_); // owned by the splitter
        frame_->Splitter()->SetPane(CMainFrame::kViewRow, window_);
        if (UsesEditToolbar())
            view_->SetEditToolbar(frame_);
        WireBeforeShow();
        PlaceFrame();
        frame_->Show();
        frame_->Raise();
        view_->OnInitialUpdate();
        ASSERT_TRUE(xdo::Settled(*window_));
        if (BoxCells() > 0) {
            NewBox(BoxCells());
            if (HasFatalFailure())
                return;
            if (MakesMaze()) {
                ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
                ASSERT_TRUE(xdo::PumpUntil([this] { return doc_->cleared == 0; }));
            }
            window_->SetFocus();
            xdo::PumpUntil([this] { return wxWindow::FindFocus() == window_; });
        }
    }
    void TearDown() override {
        if (frame_) {
            view_->SetEditToolbar(nullptr);
            frame_->Destroy();
            xdo::PumpUntil([this] {
                wxTheApp->ProcessIdle();
                return !wxTopLevelWindows.Find(frame_);
            });
        }
        view_.reset();
        DocTest::TearDown();
    }

    // Hooks for what the window tests set up differently. 0 cells: no template at the start.
    virtual int BoxCells() const { return 20; }
    // True: the template's maze is made before the test starts.
    virtual bool MakesMaze() const { return false; }
    virtual bool UsesEditToolbar() const { return true; }
    virtual void PlaceFrame() { frame_->SetSize(0, 0, 900, 700); }
    // More wiring once the view is in its pane, before the frame shows.
    virtual void WireBeforeShow() {}

    // File New of a Box template `cells` square.
    void NewBox(int cells) {
        doc_->Settings().kind = KIND_BOX;
        doc_->Settings().columns = cells;
        doc_->Settings().rows = cells;
        ASSERT_TRUE(frame_->RunCommand(ID_FILE_NEW));
        ASSERT_TRUE(xdo::Settled(*window_));
    }
    // Real X input, handled in full before it returns.
    void Xdo(const std::string& args) {
        ASSERT_TRUE(xdo::Run(args)) << args;
        ASSERT_TRUE(xdo::InputHandled()) << args;
    }
    // Applies the mask picture `files` answers from the view twice: while Escape is held down
    // the load stops with its reason and no cell changes; let go, the same load goes through
    // and the dark mask blackens every cell.
    void EscapeStopsAMaskLoadThenItApplies(ScriptedFileDialog& files, const std::string& mask) {
        WxBusyCursor busy;
        IBusyIndicator::Installation busyInstalled(busy);
        const auto blackened = [&] {
            int n = 0;
            for (const MazeCell& cell : doc_->GetGrid(0)->Cells())
                n += cell.flags == CELL_BLACKENED ? 1 : 0;
            return n;
        };
        Xdo("mousemove --sync " + xdo::At(*window_, 300, 300) + " keydown Escape");
        ASSERT_TRUE(xdo::PumpUntil([] { return wxGetKeyState(WXK_ESCAPE); }, 5000));
        files.Answer(mask);
        view_->OnApplyMask();
        Xdo("keyup Escape");
        EXPECT_EQ(blackened(), 0);
        ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
        EXPECT_NE(prompts_.ShownBoxes()[0].text.find(CRaster::kCancelled), std::string::npos)
            << prompts_.ShownBoxes()[0].text;

        ASSERT_TRUE(xdo::PumpUntil([] { return !wxGetKeyState(WXK_ESCAPE); }, 5000));
        files.Answer(mask);
        view_->OnApplyMask();
        EXPECT_EQ(blackened(), BoxCells() * BoxCells());
        EXPECT_EQ(prompts_.ShownBoxes().size(), 1u);
    }
    // True when SetUp ended early (skipped or failed) and the test body must not run on.
    bool SetUpStopped() const { return IsSkipped() || HasFatalFailure(); }

    CMainFrame* frame_ = nullptr;
    MazeViewWindow* window_ = nullptr;
    std::unique_ptr<GridloomDocState> state_;
    std::unique_ptr<CGridloomView> view_;
};
