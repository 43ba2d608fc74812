#include "tests/ui/XdoTool.h"

#include "controls/ui/CFOColorDialog.h"
#include "controls/ui/CFODropPaletteWnd.h"
#include "controls/ui/CFOHyperLinkWnd.h"
#include "dialogs/WebEndpoint.h"
#include "platform/CProfile.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

namespace {

class ColorDialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xdo::Available())
            GTEST_SKIP() << "xdotool is not installed";
        frame_ = new wxFrame(nullptr, wxID_ANY, "under", wxPoint(600, 100), wxSize(300, 300));
        red_ = new wxPanel(frame_);
        red_->SetBackgroundColour(*wxRED);
        frame_->Show();
        dialog_ = new CFOColorDialog(frame_);
        dialog_->SetColor(RGB(255, 255, 255));
        dialog_->Move(20, 20);
        dialog_->InitDialog();
        dialog_->Show();
        xdo::PumpUntil([this] { return dialog_->IsShownOnScreen() && red_->IsShownOnScreen(); });
        xdo::Pump(300);
    }
    void TearDown() override {
        if (dialog_)
            dialog_->Destroy();
        if (frame_)
            frame_->Destroy();
        xdo::Pump(100);
    }

    wxFrame* frame_ = nullptr;
    wxPanel* red_ = nullptr;
    CFOColorDialog* dialog_ = nullptr;
};

TEST_F(ColorDialogWindowTest, TheEyedropperReadsThePanelAsItIsNow) {
    ASSERT_EQ(dialog_->RgbReadout().GetValue(), "255,255,255");
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(dialog_->Eyedropper(), 10, 10) +
                         " sleep 0.05 mousedown 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->Logic().IsPicking(); }));
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(*red_, 100, 100)));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->GetColor() == RGB(255, 0, 0); }));
    ASSERT_TRUE(xdo::Run("mouseup 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !dialog_->Logic().IsPicking(); }));
    EXPECT_EQ(dialog_->RgbReadout().GetValue(), "255,0,0");
    EXPECT_EQ(dialog_->HexReadout().GetValue(), "FF0000");
    EXPECT_EQ(dialog_->Wheel().Control().GetCurrentColor(), RGB(255, 0, 0));

    // A second pick sees the screen as it is now, not as it was at the first.
    red_->SetBackgroundColour(*wxBLUE);
    red_->Refresh();
    xdo::Pump(300);
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(dialog_->Eyedropper(), 10, 10) +
                         " sleep 0.05 mousedown 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->Logic().IsPicking(); }));
    ASSERT_TRUE(xdo::Run("mousemove " + xdo::At(*red_, 120, 120) + " sleep 0.05 mouseup 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !dialog_->Logic().IsPicking(); }));
    EXPECT_EQ(dialog_->HexReadout().GetValue(), "0000FF");
}

TEST(ColorDialogLinkTest, TheLinkLeadsToTheConfiguredWebHost) {
    CProfile& profile = CProfile::App();
    const std::string old = profile.GetProfileString(WebEndpoint::kSection, WebEndpoint::kBaseEntry,
                                                     WebEndpoint::kDefaultBase);
    ASSERT_TRUE(profile.WriteProfileString(WebEndpoint::kSection, WebEndpoint::kBaseEntry,
                                           "https://mirror.example:8443/orl/"));
    {
        CFOColorDialog dialog(nullptr);
        EXPECT_EQ(dialog.Link().Link().GetURL(), "https://mirror.example:8443/orl/colours.html");
    }
    profile.WriteProfileString(WebEndpoint::kSection, WebEndpoint::kBaseEntry, old);
}

TEST_F(ColorDialogWindowTest, CustomThenOkSetsTheDialogsColour) {
    dialog_->SetSystemDialog([](COLORREF& color) {
        color = RGB(12, 34, 56);
        return true;
    });
    ASSERT_TRUE(xdo::Click(dialog_->CustomButton(), 10, 10));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->GetColor() == RGB(12, 34, 56); }));
    EXPECT_EQ(dialog_->HexReadout().GetValue(), "0C2238");
}

} // namespace
