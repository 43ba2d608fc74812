#include "tests/ui/XdoTool.h"

#include "controls/CFODropColorPaletteControl.h"
#include "controls/ui/CFOColorDialog.h"
#include "controls/ui/CFODropColorButton.h"
#include "controls/ui/CFOPopupColorPaletteWnd.h"
#include "dialogs/ui/ColourPagePanel.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

namespace {

class ColourPageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xdo::Available())
            GTEST_SKIP() << "xdotool is not installed";
        values_.colours.stop = RGB(0, 0, 255);
        frame_ = new wxFrame(nullptr, wxID_ANY, "Color", wxPoint(80, 80), wxSize(360, 400));
        page_ = new ColourPagePanel(frame_, values_);
        frame_->Show();
        frame_->Raise();
        ASSERT_TRUE(xdo::Settled(*page_));
    }
    void TearDown() override { EXPECT_TRUE(xdo::Destroy(frame_)); }
    CFODropColorButton& Button(int id) {
        return *static_cast<CFODropColorButton*>(page_->FindWindow(id));
    }
    // The screen shows `color` at the window's sample point once painting has settled.
    bool ShowsOnScreen(wxWindow& window, COLORREF color) {
        const wxPoint at = window.ClientToScreen(wxPoint(30, 10));
        return xdo::PumpUntil([&] {
            COLORREF seen = 0;
            return CFOColorDialog::ReadScreen(at, seen) && seen == color;
        });
    }

    PP6 values_;
    wxFrame* frame_ = nullptr;
    ColourPagePanel* page_ = nullptr;
};

TEST_F(ColourPageWindowTest, ButtonsShowRestoreAndTakeBackThePagesColours) {
    for (int id = 1095; id <= 1102; ++id)
        ASSERT_NE(dynamic_cast<CFODropColorButton*>(page_->FindWindow(id)), nullptr) << id;
    EXPECT_EQ(Button(1096).GetSize(), wxSize(80, 21));
    EXPECT_EQ(Button(1096).GetColor(), RGB(0, 0, 255));
    EXPECT_TRUE(ShowsOnScreen(Button(1096), RGB(0, 0, 255)));
    EXPECT_TRUE(ShowsOnScreen(Button(1095), RGB(0, 255, 0)));

    // "Restore Defaults" resets the values and repaints the buttons.
    wxWindow* restore = page_->FindWindow(ColourPage::kRestoreDefaultsId);
    ASSERT_NE(restore, nullptr);
    ASSERT_TRUE(xdo::Click(*restore, 10, 10));
    ASSERT_TRUE(xdo::PumpUntil([this] { return page_->IsChanged(); }));
    EXPECT_EQ(values_.colours, CellColours{});
    EXPECT_EQ(Button(1096).GetColor(), RGB(255, 0, 0));
    EXPECT_TRUE(ShowsOnScreen(Button(1096), RGB(255, 0, 0)));

    // A colour chosen in the wall pen's popup reaches the values through the transfer.
    CFODropColorButton& wall = Button(1099);
    ASSERT_TRUE(xdo::Click(wall, 30, 10));
    ASSERT_TRUE(xdo::PumpUntil([&] { return wall.Popup() && wall.Popup()->IsShownOnScreen(); }));
    auto* popup = static_cast<CFOPopupColorPaletteWnd*>(wall.Popup());
    ASSERT_TRUE(xdo::Settled(popup->Palette()));
    ASSERT_TRUE(xdo::Click(popup->Palette(), 40, 40)); // cell 9
    const COLORREF chosen = CFODropColorPaletteControl::TableColor(9);
    ASSERT_TRUE(xdo::PumpUntil([&] { return wall.GetColor() == chosen; }));
    EXPECT_EQ(values_.colours.wallPen, RGB(0, 0, 0));
    ASSERT_TRUE(page_->TransferDataFromWindow());
    EXPECT_EQ(values_.colours.wallPen, chosen);
    EXPECT_EQ(values_.colours.stop, RGB(255, 0, 0));
}

} // namespace
