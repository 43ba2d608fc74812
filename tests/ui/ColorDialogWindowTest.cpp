#include "tests/ui/XdoTool.h"

#include "controls/ui/CFOColorDialog.h"
#include "controls/ui/CFODropPaletteWnd.h"
#include "controls/ui/CFOHyperLinkWnd.h"
#include "net/WebEndpoint.h"
#include "platform/CProfile.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

#include <memory>

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
        ASSERT_TRUE(xdo::Settled(*dialog_));
        ASSERT_TRUE(xdo::Settled(*red_));
        // The eyedropper reads the server's pixels: the panel must have reached it.
        ASSERT_TRUE(xdo::PumpUntil([this] { return ShowsOnServer(*wxRED); }));
    }
    void TearDown() override {
        xdo::ReleaseButtons();
        if (dialog_)
            dialog_->Destroy();
        if (frame_)
            frame_->Destroy();
        xdo::PumpUntil([] {
            wxTheApp->ProcessIdle();
            return wxTopLevelWindows.empty();
        });
    }

    bool ShowsOnServer(const wxColour& colour) {
        return xdo::ServerShows(red_->ClientToScreen(wxPoint(100, 100)), colour) &&
               xdo::ServerShows(red_->ClientToScreen(wxPoint(120, 120)), colour);
    }

    wxFrame* frame_ = nullptr;
    wxPanel* red_ = nullptr;
    CFOColorDialog* dialog_ = nullptr;
};

TEST_F(ColorDialogWindowTest, TheEyedropperReadsThePanelAsItIsNow) {
    // A press soon after another arrives as a double click: make every second press one.
    GdkDisplay* display = gdk_display_get_default();
    gdk_display_set_double_click_time(display, 60000);
    const std::unique_ptr<GdkDisplay, void (*)(GdkDisplay*)> restore(
        display, [](GdkDisplay* d) { gdk_display_set_double_click_time(d, 400); });
    ASSERT_EQ(dialog_->RgbReadout().GetValue(), "255,255,255");
    ASSERT_TRUE(xdo::MoveTo(dialog_->Eyedropper(), 10, 10));
    ASSERT_TRUE(xdo::Run("mousedown 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->Logic().IsPicking(); }));
    ASSERT_TRUE(xdo::MoveTo(*red_, 100, 100));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->GetColor() == RGB(255, 0, 0); }));
    ASSERT_TRUE(xdo::Run("mouseup 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return !dialog_->Logic().IsPicking(); }));
    EXPECT_EQ(dialog_->RgbReadout().GetValue(), "255,0,0");
    EXPECT_EQ(dialog_->HexReadout().GetValue(), "FF0000");
    EXPECT_EQ(dialog_->Wheel().Control().GetCurrentColor(), RGB(255, 0, 0));

    // A second pick sees the screen as it is now, not as it was at the first.
    red_->SetBackgroundColour(*wxBLUE);
    red_->Refresh();
    ASSERT_TRUE(xdo::PumpUntil([this] { return ShowsOnServer(*wxBLUE); }));
    ASSERT_TRUE(xdo::MoveTo(dialog_->Eyedropper(), 10, 10));
    ASSERT_TRUE(xdo::Run("mousedown 1"));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->Logic().IsPicking(); }));
    ASSERT_TRUE(xdo::MoveTo(*red_, 120, 120));
    ASSERT_TRUE(xdo::PumpUntil([this] { return dialog_->GetColor() == RGB(0, 0, 255); }));
    ASSERT_TRUE(xdo::Run("mouseup 1"));
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
