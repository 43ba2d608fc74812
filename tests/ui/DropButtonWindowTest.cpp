#include "tests/ui/XdoTool.h"

#include "controls/CFODropColorPaletteControl.h"
#include "controls/PickerMessages.h"
#include "controls/ui/CFODropColorButton.h"
#include "controls/ui/CFODropLineTypeButton.h"
#include "controls/ui/CFOPopupColorPaletteWnd.h"
#include "controls/ui/PickerEvent.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <vector>

namespace {

struct Heard {
    UINT message;
    DWORD value;
    int id;
    bool operator==(const Heard&) const = default;
};

class DropButtonWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xdo::Available())
            GTEST_SKIP() << "xdotool is not installed";
        frame_ = new wxFrame(nullptr, wxID_ANY, "buttons", wxPoint(60, 60), wxSize(400, 300));
        panel_ = new wxPanel(frame_);
        panel_->Bind(EVT_FO_PICKER, [this](PickerEvent& e) {
            heard_.push_back({e.Message(), e.Value(), e.GetId()});
        });
        button_ = new CFODropColorButton(panel_, 1095, wxPoint(20, 20), wxSize(80, 20));
        button_->SetColor(RGB(255, 0, 0));
        frame_->Show();
        frame_->Raise();
        ASSERT_TRUE(xdo::Settled(*button_));
    }
    void TearDown() override { EXPECT_TRUE(xdo::Destroy(frame_)); }
    CFOPopupColorPaletteWnd* OpenPopup() {
        EXPECT_TRUE(xdo::Click(*button_, 30, 10));
        return Dropped(*button_) ? static_cast<CFOPopupColorPaletteWnd*>(button_->Popup())
                                 : nullptr;
    }

    // Waits until the button's popup shows, in its place and holding the keyboard.
    template <class Button> static bool Dropped(Button& button) {
        return xdo::PumpUntil(
                   [&] { return button.Popup() && button.Popup()->IsShownOnScreen(); }) &&
               xdo::Settled(*button.Popup()) &&
               xdo::PumpUntil([&] { return button.Popup()->IsDescendant(wxWindow::FindFocus()); });
    }

    wxFrame* frame_ = nullptr;
    wxPanel* panel_ = nullptr;
    CFODropColorButton* button_ = nullptr;
    std::vector<Heard> heard_;
};

TEST_F(DropButtonWindowTest, SizesItselfAndDropsThePopupBelow) {
    EXPECT_EQ(button_->GetSize(), wxSize(80, 21));
    CFOPopupColorPaletteWnd* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    const wxRect below = button_->GetScreenRect();
    EXPECT_EQ(popup->GetScreenPosition(), wxPoint(below.x, below.y + below.height));
    EXPECT_TRUE(button_->Logic().IsDropped());
}

TEST_F(DropButtonWindowTest, ArrowsRecolourWhileOpenAndEscapeCancels) {
    CFOPopupColorPaletteWnd* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(xdo::Run("key Right"));
    const COLORREF next = CFODropColorPaletteControl::TableColor(18);
    ASSERT_TRUE(xdo::PumpUntil([&] { return button_->GetColor() == next; }));
    EXPECT_TRUE(popup->IsShown());
    ASSERT_TRUE(xdo::Run("key Escape"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return heard_.size() >= 3; }));
    ASSERT_TRUE(xdo::InputHandled());
    EXPECT_EQ(heard_, (std::vector<Heard>{{WM_FO_SELECTCOLOR, next, 1095},
                                          {WM_FO_COLORCHANGED, next, 1095},
                                          {WM_FO_CANCELCOLOR, next, 1095}}));
    EXPECT_EQ(button_->Popup(), nullptr);
    EXPECT_FALSE(button_->Logic().IsDropped());
}

TEST_F(DropButtonWindowTest, KeysDropThePopupAndTabMovesOn) {
    auto* next = new wxButton(panel_, wxID_ANY, "next", wxPoint(20, 60));
    const auto focusButton = [this] {
        button_->SetFocus();
        return xdo::PumpUntil([this] { return button_->HasFocus(); });
    };
    ASSERT_TRUE(focusButton());
    // Left, Right and Up belong to the button and do nothing; Down drops the popup.
    ASSERT_TRUE(xdo::Run("key Left Up Right"));
    ASSERT_TRUE(xdo::InputHandled());
    EXPECT_EQ(button_->Popup(), nullptr);
    EXPECT_TRUE(button_->HasFocus());
    ASSERT_TRUE(xdo::Run("key Down"));
    ASSERT_TRUE(Dropped(*button_));
    ASSERT_TRUE(xdo::Run("key Return"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !button_->Logic().IsDropped(); }));
    EXPECT_EQ(heard_, (std::vector<Heard>{{WM_FO_SELECTCOLOR, RGB(255, 0, 0), 1095}}));
    // Space drops it too.
    ASSERT_TRUE(focusButton());
    ASSERT_TRUE(xdo::Run("key space"));
    ASSERT_TRUE(Dropped(*button_));
    ASSERT_TRUE(xdo::Run("key Escape"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !button_->Logic().IsDropped(); }));
    ASSERT_TRUE(focusButton());
    ASSERT_TRUE(xdo::Run("key Tab"));
    EXPECT_TRUE(xdo::PumpUntil([next] { return next->HasFocus(); }));
}

TEST_F(DropButtonWindowTest, ACellClickSetsTheColour) {
    CFOPopupColorPaletteWnd* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(xdo::Click(popup->Palette(), 40, 40)); // cell 9
    const COLORREF chosen = CFODropColorPaletteControl::TableColor(9);
    ASSERT_TRUE(xdo::PumpUntil([this] { return heard_.size() >= 2; }));
    ASSERT_TRUE(xdo::InputHandled());
    EXPECT_EQ(heard_, (std::vector<Heard>{{WM_FO_SELECTCOLOR, chosen, 1095},
                                          {WM_FO_COLORCHANGED, chosen, 1095}}));
    EXPECT_EQ(button_->GetColor(), chosen);
}

TEST_F(DropButtonWindowTest, CustomThenOkTakesTheDialogsColour) {
    COLORREF started = 0;
    button_->SetCustomDialog([&started](COLORREF& color) {
        started = color;
        color = RGB(12, 34, 56);
        return true;
    });
    CFOPopupColorPaletteWnd* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(xdo::Click(popup->Palette(), 100, 133));
    ASSERT_TRUE(xdo::PumpUntil([this] { return heard_.size() >= 2; }));
    ASSERT_TRUE(xdo::InputHandled());
    EXPECT_EQ(started, RGB(255, 0, 0));
    EXPECT_EQ(button_->GetColor(), RGB(12, 34, 56));
    EXPECT_EQ(heard_.front(), (Heard{WM_FO_SELECTCOLOR, RGB(12, 34, 56), 1095}));
}

TEST_F(DropButtonWindowTest, LineTypeButtonChoosesFromItsPopup) {
    auto* lines = new CFODropLineTypeButton(panel_, 77, wxPoint(20, 120), wxSize(80, 20));
    ASSERT_TRUE(xdo::Settled(*lines));
    ASSERT_TRUE(xdo::Click(*lines, 30, 10));
    ASSERT_TRUE(Dropped(*lines));
    ASSERT_TRUE(xdo::Click(*lines, 60, 21 + 84));
    ASSERT_TRUE(xdo::PumpUntil([this] { return heard_.size() >= 2; }));
    ASSERT_TRUE(xdo::InputHandled());
    EXPECT_EQ(heard_, (std::vector<Heard>{{WM_FO_SELECTLINETYPE, PS_DASHDOT, 77},
                                          {WM_FO_LINETYPECHANGED, PS_DASHDOT, 77}}));
    EXPECT_EQ(lines->GetLineType(), PS_DASHDOT);
}

} // namespace
