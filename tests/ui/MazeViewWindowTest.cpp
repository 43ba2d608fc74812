#include "tests/support/DocTestSupport.h"

#include "frame/GridloomDocState.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "maze/TemplateKind.h"
#include "res/CommandIds.h"
#include "view/CGridloomView.h"
#include "view/ui/MazeViewWindow.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include <cstdlib>

namespace {

// What the screen shows of a window, saved next to the test's results.
wxImage Screenshot(wxWindow& window, const std::string& name) {
    window.Refresh(false);
    for (int i = 0; i < 5; ++i) {
        wxTheApp->Yield();
        window.Update();
        wxMilliSleep(20);
    }
    const wxSize r = window.GetClientSize();
    wxBitmap shot(r.x, r.y);
    {
        wxClientDC screen(&window);
        wxMemoryDC mem(shot);
        mem.Blit(0, 0, r.x, r.y, &screen, 0, 0);
    }
    wxImage image = shot.ConvertToImage();
    if (const char* out = std::getenv("ORLIMBER_TEST_OUT")) {
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler);
        image.SaveFile(std::string(out) + "/" + name + ".png", wxBITMAP_TYPE_PNG);
    }
    return image;
}

int DarkPixels(const wxImage& image) {
    int dark = 0;
    const unsigned char* p = image.GetData();
    for (long i = 0; i < long{image.GetWidth()} * image.GetHeight(); ++i, p += 3)
        dark += p[0] < 64 && p[1] < 64 && p[2] < 64;
    return dark;
}

// The program's window as it starts: the main frame with the maze view in the splitter's top
// row, commands routed view, document, frame.
class MazeViewWindowTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        doc_ = std::make_unique<CGridloomDoc>(Profile());
        state_ = std::make_unique<GridloomDocState>(*doc_);
        view_ = std::make_unique<CGridloomView>();
        view_->SetDocument(doc_.get());
        frame_ = new CMainFrame(); // owned by wx
        frame_->Router().SetDocument(doc_.get());
        frame_->Router().SetView(view_.get());
        frame_->Commands().SetMazeState(state_.get());
        window_ = new MazeViewWindow(frame_->Splitter(), *view_); // owned by the splitter
        window_->SetInfoPaneCollapser([this] { frame_->SetInfoPaneHeight(0, 0); });
        frame_->Splitter()->SetPane(CMainFrame::kViewRow, window_);
        frame_->SetSize(900, 800);
        frame_->Show();
        view_->OnInitialUpdate();
    }
    void TearDown() override {
        frame_->Destroy();
        wxTheApp->Yield();
        view_.reset();
        DocTest::TearDown();
    }

    CMainFrame* frame_ = nullptr;
    MazeViewWindow* window_ = nullptr;
    std::unique_ptr<GridloomDocState> state_;
    std::unique_ptr<CGridloomView> view_;
};

} // namespace

TEST_F(MazeViewWindowTest, FileNewThenMakeMazeShowsAMaze) {
    const wxImage empty = Screenshot(*window_, "view-empty");
    EXPECT_LT(DarkPixels(empty), empty.GetWidth() * empty.GetHeight() / 50);

    doc_->Settings().kind = KIND_HEX;
    doc_->Settings().columns = 12;
    doc_->Settings().rows = 12;
    ASSERT_TRUE(frame_->RunCommand(ID_FILE_NEW));
    ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
    ASSERT_GT(doc_->GridCount(), 0);
    ASSERT_TRUE(view_->PaintScreen());
    const wxImage made = Screenshot(*window_, "view-made-maze");
    EXPECT_GT(DarkPixels(made), 2000);

    // Scrolling down shows another part of the page without rendering it again.
    doc_->reRender = 0;
    window_->Scroll(0, 10);
    const wxImage scrolled = Screenshot(*window_, "view-scrolled");
    EXPECT_GT(window_->ScrollPosition().y, 0);
    EXPECT_GT(DarkPixels(scrolled), 2000);
}

TEST_F(MazeViewWindowTest, AnimatedMakingPaintsCellsAsTheyAreCarved) {
    doc_->Settings().kind = KIND_BOX;
    doc_->Settings().columns = 30;
    doc_->Settings().rows = 30;
    doc_->Settings().animate = 1;
    ASSERT_TRUE(frame_->RunCommand(ID_FILE_NEW));
    Screenshot(*window_, "view-before-animation");
    ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
    const wxImage made = Screenshot(*window_, "view-animated-maze");
    EXPECT_GT(DarkPixels(made), 2000);
}
