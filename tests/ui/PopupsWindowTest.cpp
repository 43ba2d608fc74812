#include "tests/ui/ModalDialogDriver.h"
#include "tests/ui/XdoTool.h"

#include "dialogs/ui/CBalloonTip.h"
#include "dialogs/ui/CMyRichEditCtrl.h"
#include "dialogs/ui/CPopupHelp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/richtext/richtextctrl.h>

#include <cstdlib>
#include <sstream>

namespace {

// What the server shows of a rectangle, kept with the test results when they have a folder.
wxImage Grab(const wxRect& rect, const std::string& name) {
    wxImage image = xdo::ServerImage(rect);
    if (const char* out = std::getenv("ORLIMBER_TEST_OUT"))
        image.SaveFile(std::string(out) + "/" + name + ".png", wxBITMAP_TYPE_PNG);
    return image;
}

bool IsBalloonYellow(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) == 249 && image.GetGreen(x, y) == 254 && image.GetBlue(x, y) == 188;
}

CBalloonTip::Request Balloon(int seconds) {
    CBalloonTip::Request r;
    r.x = 400;
    r.y = 400;
    r.width = 240;
    r.height = 120;
    r.text = "Grow carves a new maze";
    r.font = wxFont(wxFontInfo(11).Bold());
    r.seconds = seconds;
    r.pointerDown = true;
    return r;
}

TEST(PopupsWindowTest, BalloonIsShapedShowsItsTextAndClosesOnAClick) {
    if (!xdo::Available())
        GTEST_SKIP() << "xdotool is not installed";
    CBalloonTip* balloon = CBalloonTip::Show(Balloon(30));
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(CBalloonTip::Show(Balloon(30)), nullptr);
    ASSERT_TRUE(xdo::Settled(*balloon));
    EXPECT_EQ(balloon->GetScreenRect(), wxRect(244, 280, 240, 120));
    ASSERT_TRUE(xdo::PumpUntil([] {
        return xdo::ServerShows({244 + 30, 280 + 30}, {249, 254, 188});
    })) << "the balloon reaches the screen";
    const wxImage shot = Grab(balloon->GetScreenRect(), "balloon");
    EXPECT_TRUE(IsBalloonYellow(shot, 30, 30));
    int red = 0;
    for (int y = 0; y < shot.GetHeight(); ++y)
        for (int x = 0; x < shot.GetWidth(); ++x)
            red += shot.GetRed(x, y) > 200 && shot.GetGreen(x, y) < 80 && shot.GetBlue(x, y) < 80;
    EXPECT_GT(red, 30) << "the text is drawn in red";
    if (balloon->Shaped()) {
        EXPECT_FALSE(IsBalloonYellow(shot, 1, shot.GetHeight() - 2)) << "cut away below the body";
        EXPECT_FALSE(IsBalloonYellow(shot, 0, 0)) << "rounded corner";
    }
    ASSERT_TRUE(xdo::MoveToScreen({244 + 120, 280 + 40}));
    ASSERT_TRUE(xdo::Run("click 1"));
    EXPECT_TRUE(xdo::PumpUntil([] { return !BalloonSlot::Shown(); }));
    EXPECT_EQ(CBalloonTip::Current(), nullptr);
}

TEST(PopupsWindowTest, BalloonClosesWhenItsTimeIsUp) {
    ASSERT_NE(CBalloonTip::Show(Balloon(1)), nullptr);
    EXPECT_TRUE(BalloonSlot::Shown());
    EXPECT_TRUE(xdo::PumpUntil([] { return !BalloonSlot::Shown(); }, 4000));
}

TEST(PopupsWindowTest, HelpShowsFormattedTextOnEveryShowing) {
    if (!ModalDialogDriver::HaveXdotool())
        GTEST_SKIP() << "xdotool is not installed";
    CPopupHelp dialog(nullptr, std::string(ORLIMBER_TEST_DATA) + "/../../help");
    ModalDialogDriver driver;
    for (int showing = 0; showing < 2; ++showing) {
        wxString text;
        bool titleBold = false;
        bool titleCentred = false;
        const int result = driver.Run(dialog, [&](ModalDialogDriver& d) {
            d.OnMain([&] {
                text = dialog.Text().GetValue();
                wxRichTextAttr attr;
                dialog.Text().GetStyle(2, attr);
                titleBold = attr.GetFontWeight() == wxFONTWEIGHT_BOLD;
                titleCentred = attr.GetAlignment() == wxTEXT_ALIGNMENT_CENTRE;
            });
            d.Screenshot(&dialog, "help-" + std::to_string(showing));
            d.Click(dialog.FindWindow(wxID_OK));
        });
        EXPECT_EQ(result, wxID_OK);
        EXPECT_TRUE(text.StartsWith("Orlimber Help\n")) << showing;
        EXPECT_TRUE(titleBold);
        EXPECT_TRUE(titleCentred);
    }
}

TEST(PopupsWindowTest, RichEditTogglesFollowTheRememberedState) {
    wxFrame frame(nullptr, wxID_ANY, "rich edit");
    auto* edit = new CMyRichEditCtrl(&frame);
    std::istringstream rtf("{\\rtf1 {\\i slanted} plain\\par}");
    edit->Load(rtf);
    edit->SetSelection(0, 7);
    EXPECT_TRUE(edit->SelectionItalic());
    edit->ToggleItalic(); // remembered state 1: italic stays
    EXPECT_TRUE(edit->SelectionItalic());
    edit->ToggleItalic();
    EXPECT_FALSE(edit->SelectionItalic());
    edit->ToggleBold();
    EXPECT_TRUE(edit->SelectionBold());
    edit->ToggleBold();
    EXPECT_FALSE(edit->SelectionBold());
    edit->Align(RichAlign::Centre);
    EXPECT_EQ(edit->SelectionAlignment(), RichAlign::Centre);
    edit->ToggleBullets();
    EXPECT_TRUE(edit->SelectionBullets());
    edit->ToggleBullets();
    EXPECT_FALSE(edit->SelectionBullets());
}

} // namespace
