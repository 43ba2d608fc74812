#include "tests/ui/MazeViewWindowFixture.h"

#include <wx/eventfilter.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

// A real key press through the X server, as a user's keyboard makes it.
void PressKeys(const std::string& keys) {
    ASSERT_TRUE(xdo::Run("key --delay 50 " + keys)) << keys;
    ASSERT_TRUE(xdo::InputHandled()) << keys;
}

// A real mouse button press (4 and 5 turn the wheel) at a point of the screen.
void PressMouse(wxPoint screen, int button) {
    const std::string args = "mousemove " + std::to_string(screen.x) + " " +
                             std::to_string(screen.y) + " click " + std::to_string(button);
    ASSERT_TRUE(xdo::Run(args)) << args;
    ASSERT_TRUE(xdo::InputHandled()) << args;
}

// Counts the paints and size changes one window receives, before its own handlers run.
class WindowEventCounter : public wxEventFilter {
public:
    explicit WindowEventCounter(wxWindow* window) : window_(window) {
        wxEvtHandler::AddFilter(this);
    }
    ~WindowEventCounter() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override {
        if (event.GetEventObject() == window_) {
            paints += event.GetEventType() == wxEVT_PAINT;
            sizes += event.GetEventType() == wxEVT_SIZE;
        }
        return Event_Skip;
    }
    int paints = 0;
    int sizes = 0;

private:
    wxWindow* window_;
};

int DarkPixels(const wxImage& image) {
    int dark = 0;
    const unsigned char* p = image.GetData();
    for (long i = 0; i < long{image.GetWidth()} * image.GetHeight(); ++i, p += 3)
        dark += p[0] < 64 && p[1] < 64 && p[2] < 64;
    return dark;
}

// The program's window as it starts, with no template yet.
class MazeViewWindowTest : public MazeViewWindowFixture {
protected:
    int BoxCells() const override { return 0; }
    bool UsesEditToolbar() const override { return false; }
    void PlaceFrame() override { frame_->SetSize(900, 800); }
    void WireBeforeShow() override {
        window_->SetInfoPaneCollapser([this] { frame_->CollapseInfoPane(); });
    }
};

} // namespace

TEST_F(MazeViewWindowTest, FileNewThenMakeMazeShowsAMaze) {
    const wxImage empty = ClientScreenshot(*window_, "view-empty");
    EXPECT_LT(DarkPixels(empty), empty.GetWidth() * empty.GetHeight() / 50);

    doc_->Settings().kind = KIND_HEX;
    doc_->Settings().columns = 12;
    doc_->Settings().rows = 12;
    ASSERT_TRUE(frame_->RunCommand(ID_FILE_NEW));
    ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
    ASSERT_GT(doc_->GridCount(), 0);
    ASSERT_TRUE(view_->PaintScreen());
    const wxImage made = ClientScreenshot(*window_, "view-made-maze");
    EXPECT_GT(DarkPixels(made), 2000);

    // Scrolling down shows another part of the page without rendering it again.
    doc_->reRender = 0;
    window_->Scroll(0, 10);
    const wxImage scrolled = ClientScreenshot(*window_, "view-scrolled");
    EXPECT_GT(window_->ScrollPosition().y, 0);
    EXPECT_GT(DarkPixels(scrolled), 2000);
}

TEST_F(MazeViewWindowTest, TheInstalledTileSetDrawsTheMazeAndItsEnds) {
    // The set the build lays out beside the program, as a user's first tiled maze uses it.
    const std::filesystem::path share =
        std::filesystem::path(ORLIMBER_PROGRAM).parent_path() / ".." / "share" / "orlimber";
    view_->TileSets().SetInstallFolder(share.lexically_normal().string());
    doc_->Settings().kind = KIND_BOX;
    doc_->Settings().tiled = 1;
    doc_->Settings().tilerId = " orlimber-garden-hedge-1";
    doc_->Settings().columns = 20;
    doc_->Settings().rows = 15;
    doc_->Settings().seed = 5;
    ASSERT_TRUE(frame_->RunCommand(ID_FILE_NEW));
    ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
    ASSERT_TRUE(view_->PaintScreen());
    const auto count = [](const wxImage& shot, std::uint32_t rgb) {
        int n = 0;
        const unsigned char* p = shot.GetData();
        for (long i = 0; i < long{shot.GetWidth()} * shot.GetHeight(); ++i, p += 3)
            n += p[0] == (rgb >> 16 & 0xFF) && p[1] == (rgb >> 8 & 0xFF) && p[2] == (rgb & 0xFF);
        return n;
    };
    const wxImage top = ClientScreenshot(*window_, "view-garden-maze");
    EXPECT_GT(count(top, 0xDECEAA), 20000) << "gravel paths";
    EXPECT_GT(count(top, 0x28C83C), 20) << "the START marker";
    // The STOP cell is in the last row, below the window at first.
    window_->Scroll(0, 100000);
    const wxImage bottom = ClientScreenshot(*window_, "view-garden-maze-end");
    EXPECT_GT(count(bottom, 0xDC1E1E), 20) << "the STOP marker";
    // A kind the set leaves out would show the placeholder's red.
    EXPECT_EQ(count(top, 0xC80000) + count(bottom, 0xC80000), 0);
}

TEST_F(MazeViewWindowTest, AnimatedMakingPaintsCellsAsTheyAreCarved) {
    doc_->Settings().kind = KIND_BOX;
    doc_->Settings().columns = 30;
    doc_->Settings().rows = 30;
    doc_->Settings().animate = 1;
    ASSERT_TRUE(frame_->RunCommand(ID_FILE_NEW));
    ClientScreenshot(*window_, "view-before-animation");
    ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
    const wxImage made = ClientScreenshot(*window_, "view-animated-maze");
    EXPECT_GT(DarkPixels(made), 2000);
}

TEST_F(MazeViewWindowTest, AShownMazeLeavesTheWindowIdle) {
    NewBox(20);
    ASSERT_TRUE(frame_->RunCommand(ID_MAKE_MAZE));
    // The information pane was collapsed once the maze showed.
    EXPECT_TRUE(xdo::PumpUntil([this] {
        return frame_->Splitter()->RowHeight(CMainFrame::kInfoPaneRow) <= 2;
    })) << frame_->Splitter()->RowHeight(CMainFrame::kInfoPaneRow);
    ASSERT_TRUE(xdo::Settled(*window_));

    // Watched for a second: an idle window is one where nothing happens meanwhile.
    WindowEventCounter counter(window_);
    xdo::Pump(1000);
    EXPECT_LE(counter.paints, 2);
    EXPECT_EQ(counter.sizes, 0);
    // Still the maze on screen.
    EXPECT_GT(DarkPixels(ClientScreenshot(*window_, "view-idle")), 2000);
}

TEST_F(MazeViewWindowTest, ScrollingEndsAtThePagesEdgeAndArrowsStepACell) {
    const CSize page(MulDiv(7499, 96, 1000), MulDiv(9499, 96, 1000));
    for (int cells : {10, 2}) {
        SCOPED_TRACE(cells);
        NewBox(cells);
        const wxSize client = window_->GetClientSize();
        ASSERT_LT(client.y, page.cy);
        // The bars show although the pointer is nowhere near them: they take their room.
        EXPECT_LT(client.x, window_->GetSize().x);

        window_->ScrollToPagePixel({100000, 100000});
        EXPECT_TRUE(xdo::PumpUntil([&] {
            return window_->ScrollPosition().y == page.cy - client.y;
        })) << window_->ScrollPosition().y;
        // The credit line at the page's foot is on the last rows, with nothing below it.
        const wxImage end =
            ClientScreenshot(*window_, "view-scrolled-to-end-" + std::to_string(cells));
        EXPECT_GT(DarkPixels(end.GetSubImage(wxRect(0, client.y - 24, client.x, 24))), 50);

        // The arrow keys move by one cell, to the pixel.
        window_->ScrollToPagePixel({0, 0});
        window_->SetFocus();
        ASSERT_TRUE(xdo::PumpUntil([this] {
            return wxWindow::FindFocus() == window_ && window_->ScrollPosition().y == 0;
        }));
        PressKeys("Down");
        const int cell = MulDiv(-doc_->GetCellHeight(), 96, 1000);
        EXPECT_TRUE(xdo::PumpUntil([&] {
            return window_->ScrollPosition().y == std::min(cell, page.cy - client.y);
        })) << window_->ScrollPosition().y;
        EXPECT_EQ(window_->LineStep().cy, cell);

        // A wheel notch moves three cells, at most a window and not past the page's end.
        window_->ScrollToPagePixel({0, 0});
        ASSERT_TRUE(xdo::PumpUntil([this] { return window_->ScrollPosition().y == 0; }));
        const wxPoint middle = window_->ClientToScreen(wxPoint(100, 100));
        PressMouse(middle, 5);
        EXPECT_TRUE(xdo::PumpUntil([&] {
            return window_->ScrollPosition().y ==
                   std::min({3 * cell, client.y, page.cy - client.y});
        })) << window_->ScrollPosition().y;
    }
}

TEST_F(MazeViewWindowTest, AMessageShowsAtOnceWithoutAMaze) {
    ASSERT_EQ(doc_->GridCount(), 0);
    window_->SetFocus();
    ASSERT_TRUE(xdo::PumpUntil([this] { return wxWindow::FindFocus() == window_; }));
    PressKeys("ctrl+s");
    ASSERT_TRUE(xdo::PumpUntil([this] { return !prompts_.ShownBoxes().empty(); }));
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompts_.ShownBoxes()[0].text,
              "ERROR: There is no maze to save yet.  Save has stopped.");
    EXPECT_EQ(doc_->GridCount(), 0);
}
