#include "tests/ui/XdoTool.h"

#include "controls/CFODropColorPaletteControl.h"
#include "controls/PickerMessages.h"
#include "controls/ui/CFODropPaletteWnd.h"
#include "controls/ui/CFOPopupColorPaletteWnd.h"
#include "controls/ui/CFOPopupLineTypeWnd.h"

#include <gtest/gtest.h>
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

// A frame standing in for the button's window; popups open below a 80 x 21 "button" at
// (20, 20) of its client area.
class PickerPopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xdo::Available())
            GTEST_SKIP() << "xdotool is not installed";
        frame_ = new wxFrame(nullptr, wxID_ANY, "popups", wxPoint(40, 40), wxSize(500, 400));
        frame_->Show();
        frame_->Raise();
        ASSERT_TRUE(xdo::Settled(*frame_));
    }
    void TearDown() override {
        EXPECT_TRUE(xdo::Destroy(popup_));
        EXPECT_TRUE(xdo::Destroy(frame_));
    }
    CRect Anchor() {
        const wxPoint p = frame_->ClientToScreen(wxPoint(20, 20));
        return CRect(p.x, p.y, p.x + 80, p.y + 21);
    }
    PickerWindow::Owner Recorder() {
        return [this](UINT m, WPARAM w, LPARAM l) { notes_.push_back({m, w, l}); };
    }
    CFOPopupColorPaletteWnd& OpenPalette(COLORREF color) {
        auto* popup = new CFOPopupColorPaletteWnd(frame_, color, 200, 150, Recorder());
        popup_ = popup;
        popup->Open(Anchor(), true);
        Opened(*popup, popup->Palette());
        return *popup;
    }
    // Waits until the popup shows in its place with the keyboard on its picker.
    static void Opened(wxWindow& popup, wxWindow& picker) {
        ASSERT_TRUE(xdo::Settled(picker));
        ASSERT_TRUE(xdo::Settled(popup));
        ASSERT_TRUE(xdo::PumpUntil([&] { return wxWindow::FindFocus() == &picker; }));
    }
    // Waits for notes to arrive, then for the input that made them to be handled in full, so
    // that a note that should not come would be there.
    void Settle(size_t count) {
        ASSERT_TRUE(xdo::PumpUntil([this, count] { return notes_.size() >= count; }));
        ASSERT_TRUE(xdo::InputHandled());
    }

    wxFrame* frame_ = nullptr;
    PickerPopup* popup_ = nullptr;
    std::vector<Note> notes_;
};

TEST_F(PickerPopupTest, OpensBelowTheAnchor) {
    CFOPopupColorPaletteWnd& popup = OpenPalette(RGB(255, 0, 0));
    const wxPoint at = popup.GetScreenPosition();
    EXPECT_EQ(at.x, Anchor().left);
    EXPECT_EQ(at.y, Anchor().bottom);
    EXPECT_EQ(popup.GetSize(), wxSize(200, 150));
}

TEST_F(PickerPopupTest, ACellClickGivesOneChoice) {
    CFOPopupColorPaletteWnd& popup = OpenPalette(RGB(255, 0, 0));
    ASSERT_TRUE(xdo::Click(popup.Palette(), 40, 40));
    Settle(1);
    EXPECT_EQ(notes_, (std::vector<Note>{
                          {WM_FO_SELECTCOLOR, CFODropColorPaletteControl::TableColor(9), 0}}));
    EXPECT_FALSE(popup.IsShown());
}

TEST_F(PickerPopupTest, EscapeGivesOneCancel) {
    CFOPopupColorPaletteWnd& popup = OpenPalette(RGB(255, 0, 0));
    ASSERT_TRUE(xdo::Run("key Escape"));
    Settle(1);
    EXPECT_EQ(notes_, (std::vector<Note>{{WM_FO_CANCELCOLOR, RGB(255, 0, 0), 0}}));
    EXPECT_FALSE(popup.IsShown());
}

TEST_F(PickerPopupTest, AnArrowThenAnOutsideClickCommitsWhatTheArrowReached) {
    CFOPopupColorPaletteWnd& popup = OpenPalette(RGB(255, 0, 0));
    ASSERT_TRUE(xdo::Run("key Right"));
    Settle(1);
    ASSERT_TRUE(popup.IsShown());
    const COLORREF reached = CFODropColorPaletteControl::TableColor(18);
    ASSERT_TRUE(xdo::Click(*frame_, 400, 300));
    Settle(2);
    EXPECT_EQ(notes_, (std::vector<Note>{{WM_FO_SELECTCOLOR, reached, 100},
                                         {WM_FO_SELECTCOLOR, reached, 0}}));
    EXPECT_FALSE(popup.IsShown());
}

TEST_F(PickerPopupTest, CustomGivesOneRequest) {
    CFOPopupColorPaletteWnd& popup = OpenPalette(RGB(255, 0, 0));
    ASSERT_TRUE(xdo::Click(popup.Palette(), 100, 133));
    Settle(1);
    EXPECT_EQ(notes_, (std::vector<Note>{{WM_FO_CUSTOMCOLOR, RGB(255, 0, 0), 0}}));
    EXPECT_FALSE(popup.IsShown());
}

TEST_F(PickerPopupTest, LineTypePopupChoosesOnce) {
    auto* popup = new CFOPopupLineTypeWnd(frame_, PS_SOLID, 155, 125, Recorder());
    popup_ = popup;
    popup->Open(Anchor(), true);
    Opened(*popup, popup->Picker());
    ASSERT_TRUE(xdo::Click(popup->Picker(), 60, 64)); // cell 2, dotted
    Settle(1);
    EXPECT_EQ(notes_, (std::vector<Note>{{WM_FO_SELECTLINETYPE, PS_DOT, 0}}));
}

TEST_F(PickerPopupTest, DraggingAcrossTheWheelReportsTheCellsCrossed) {
    auto* wheel =
        new CFODropPaletteWnd(frame_, 4232, wxRect(10, 10, 214, 230), RGB(255, 255, 255), false);
    wheel->SetOwner(Recorder());
    ASSERT_TRUE(xdo::Settled(*wheel));
    CFODropPaletteControl& control = wheel->Control();
    // From the centre straight right across rings 1 to 3.
    const CPoint centre = control.Cell(0).GetBoundRect().CenterPoint();
    ASSERT_TRUE(xdo::MoveTo(*wheel, centre.x, centre.y));
    ASSERT_TRUE(xdo::Run("mousedown 1"));
    Settle(1);
    for (int dx = 6; dx <= 48; dx += 6) {
        // Each motion handled before the next: the toolkit would merge them otherwise.
        ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(*wheel, centre.x + dx, centre.y)));
        ASSERT_TRUE(xdo::InputHandled());
    }
    const size_t beforeRelease = notes_.size();
    ASSERT_TRUE(xdo::Run("mouseup 1"));
    Settle(beforeRelease + 1);
    ASSERT_EQ(notes_.size(), beforeRelease + 1);
    // Every note is a choice of the cell under the pointer then; consecutive repeats collapse
    // to the cells crossed, and the release repeats the last.
    std::vector<COLORREF> crossed;
    for (size_t i = 0; i < beforeRelease; ++i) {
        EXPECT_EQ(notes_[i].message, WM_FO_SELECTCOLOR);
        if (crossed.empty() || crossed.back() != notes_[i].wParam)
            crossed.push_back(notes_[i].wParam);
    }
    const std::vector<COLORREF> expected{control.Cell(0).GetColor(), control.Cell(1).GetColor(),
                                         control.Cell(7).GetColor(), control.Cell(19).GetColor()};
    EXPECT_EQ(crossed, expected);
    EXPECT_EQ(notes_.back(), (Note{WM_FO_SELECTCOLOR, control.Cell(19).GetColor(), 0}));
}

} // namespace
