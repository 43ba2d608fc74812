#include "tests/ui/XdoTool.h"

#include "controls/CFOCustomStatic.h"
#include "controls/CFODropColorPaletteControl.h"
#include "controls/PickerMessages.h"
#include "controls/ui/CFODropColorPaletteWnd.h"
#include "controls/ui/CustomStaticWindow.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <vector>

namespace {

struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Note&) const = default;
};

// What the screen shows at a client point of a window.
wxColour ScreenPixel(wxWindow& window, int x, int y) {
    wxBitmap one(1, 1);
    wxClientDC screen(&window);
    wxMemoryDC mem(one);
    mem.Blit(0, 0, 1, 1, &screen, x, y);
    mem.SelectObject(wxNullBitmap);
    const wxImage image = one.ConvertToImage();
    return wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
}

// Waits until the screen shows `colour` at a client point once the window has painted.
::testing::AssertionResult ShowsOnScreen(wxWindow& window, wxPoint at, const wxColour& colour) {
    if (xdo::PumpUntil([&] { return ScreenPixel(window, at.x, at.y) == colour; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "at " << at.x << "," << at.y << " the screen shows "
           << ScreenPixel(window, at.x, at.y).GetAsString(wxC2S_HTML_SYNTAX) << ", not "
           << colour.GetAsString(wxC2S_HTML_SYNTAX);
}

class ColourPaletteWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xdo::Available())
            GTEST_SKIP() << "xdotool is not installed";
        frame_ = new wxFrame(nullptr, wxID_ANY, "palette", wxPoint(50, 60), wxSize(300, 260));
        // A panel between: a frame stretches a sole child over its client area.
        auto* panel = new wxPanel(frame_);
        palette_ = new CFODropColorPaletteWnd(panel, 1234, wxRect(10, 10, 200, 150), RGB(255, 0, 0),
                                              false);
        palette_->SetOwner([this](UINT m, WPARAM w, LPARAM l) { notes_.push_back({m, w, l}); });
        frame_->Show();
        frame_->Raise();
        ASSERT_TRUE(xdo::Settled(*palette_));
    }
    void TearDown() override { EXPECT_TRUE(xdo::Destroy(frame_)); }

    CFODropColorPaletteControl& Control() { return palette_->Control(); }

    wxFrame* frame_ = nullptr;
    CFODropColorPaletteWnd* palette_ = nullptr;
    std::vector<Note> notes_;
};

TEST_F(ColourPaletteWindowTest, PaintsTheModel) {
    palette_->Refresh();
    palette_->Update();
    // Red (row 2, column 1) is framed: white inside, black outside.
    EXPECT_TRUE(ShowsOnScreen(*palette_, {32, 47}, wxColour(255, 255, 255)));
    EXPECT_TRUE(ShowsOnScreen(*palette_, {30, 47}, wxColour(0, 0, 0)));
    EXPECT_TRUE(ShowsOnScreen(*palette_, {42, 47}, wxColour(255, 0, 0)));
}

TEST_F(ColourPaletteWindowTest, ClickChoosesOnce) {
    // Cell 9 (row 1, column 1) lies around (40, 30) in a child palette.
    ASSERT_TRUE(xdo::Click(*palette_, 40, 30));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !notes_.empty(); }));
    ASSERT_TRUE(xdo::InputHandled());
    const COLORREF chosen = CFODropColorPaletteControl::TableColor(9);
    EXPECT_EQ(notes_, (std::vector<Note>{{WM_FO_SELECTCOLOR, chosen, 0}}));
    EXPECT_EQ(Control().GetCurrentColor(), chosen);
    EXPECT_TRUE(palette_->IsShown()); // a child palette never hides
}

TEST_F(ColourPaletteWindowTest, DragMovesTheFrameAndPostsOnlyOnRelease) {
    ASSERT_TRUE(xdo::MoveTo(*palette_, 40, 30));
    ASSERT_TRUE(xdo::Run("mousedown 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] {
        return Control().GetCurrentColor() == CFODropColorPaletteControl::TableColor(9);
    }));
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(*palette_, 110, 30)));
    ASSERT_TRUE(xdo::PumpUntil([this] {
        return Control().GetCurrentColor() == CFODropColorPaletteControl::TableColor(12);
    }));
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(*palette_, 110, 100)));
    ASSERT_TRUE(xdo::PumpUntil([this] {
        return Control().GetCurrentColor() == CFODropColorPaletteControl::TableColor(44);
    }));
    EXPECT_TRUE(notes_.empty());
    ASSERT_TRUE(xdo::Run("mouseup 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !notes_.empty(); }));
    ASSERT_TRUE(xdo::InputHandled());
    EXPECT_EQ(notes_, (std::vector<Note>{
                          {WM_FO_SELECTCOLOR, CFODropColorPaletteControl::TableColor(44), 0}}));
}

TEST_F(ColourPaletteWindowTest, KeysStepAndEscapeIsIgnoredInAChild) {
    ASSERT_TRUE(xdo::Click(*palette_, 40, 30));
    ASSERT_TRUE(xdo::PumpUntil([this] { return notes_.size() == 1; }));
    ASSERT_TRUE(xdo::Run("key Right"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return notes_.size() == 2; }));
    ASSERT_TRUE(xdo::Run("key Escape"));
    ASSERT_TRUE(xdo::InputHandled());
    ASSERT_EQ(notes_.size(), 2u);
    EXPECT_EQ(notes_[1],
              (Note{WM_FO_SELECTCOLOR, CFODropColorPaletteControl::TableColor(10), 100}));
}

TEST(CustomStaticWindowTest, SizesToItsTextAndPaintsAFrame) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "static", wxPoint(50, 60), wxSize(300, 200));
    auto* panel = new wxPanel(frame);
    auto* label = new CustomStaticWindow(panel, wxID_ANY, "Pick a colour", wxPoint(20, 20),
                                         wxSize(10, 10), std::make_unique<CFOCustomStatic>());
    frame->Show();
    label->Model().SizeToContent();
    ASSERT_TRUE(xdo::Settled(*label));
    const wxSize size = label->GetSize();
    EXPECT_GT(size.x, 60);
    EXPECT_GT(size.y, 15);
    label->Refresh();
    label->Update();
    EXPECT_TRUE(ShowsOnScreen(*label, {0, size.y / 2}, wxColour(255, 255, 255)));
    EXPECT_TRUE(ShowsOnScreen(*label, {size.x - 1, size.y / 2}, wxColour(64, 64, 64)));
    EXPECT_TRUE(xdo::Destroy(frame));
}

} // namespace
