#include "tests/controls/ControlTestSupport.h"

#include "controls/CFOHyperLink.h"
#include "controls/IHyperLinkHost.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/SysColor.h"

#include <gtest/gtest.h>

namespace {

class FakeLinkHost : public IHyperLinkHost {
public:
    std::string WindowText() const override { return text; }
    void SetWindowText(const std::string& t) override { text = t; }
    CRect WindowRect() const override { return rect; }
    void MoveTo(const CRect& r) override { rect = r; }
    CSize MeasureText(const std::string& t) override {
        return {static_cast<LONG>(6 * t.size()), 13};
    }
    void SetTooltip(const std::string& t) override { tooltip = t; }
    void SetCapture(bool c) override { captured = c; }
    void Redraw() override { ++redraws; }
    void Bell() override { ++bells; }

    std::string text;
    CRect rect{10, 20, 110, 50};
    std::string tooltip;
    bool captured = false;
    int redraws = 0;
    int bells = 0;
};

class FailingShell : public IShell {
public:
    bool Open(const std::string& target) override {
        asked.push_back(target);
        return false;
    }
    std::vector<std::string> asked;
};

TEST(HyperLinkTest, TextAndAddressStandInForEachOther) {
    FakeLinkHost host;
    host.text = "Orlimber home";
    CFOHyperLink fromText;
    fromText.Attach(&host);
    EXPECT_EQ(fromText.GetURL(), "Orlimber home");
    EXPECT_EQ(host.tooltip, "Orlimber home");

    FakeLinkHost empty;
    CFOHyperLink fromUrl;
    fromUrl.SetURL("http://127.0.0.1/a b");
    fromUrl.Attach(&empty);
    EXPECT_EQ(empty.text, "http://127.0.0.1/a b");
    EXPECT_EQ(empty.rect, CRect(10, 20, 10 + 6 * 20, 33));
}

TEST(HyperLinkTest, WindowFitsTheTextByStyle) {
    const CRect window(10, 20, 110, 50);
    const CSize text(40, 13);
    EXPECT_EQ(CFOHyperLink::FitRect(window, text, 0), CRect(10, 20, 50, 33));
    EXPECT_EQ(CFOHyperLink::FitRect(window, text, CFOHyperLink::kRight), CRect(70, 20, 110, 33));
    EXPECT_EQ(CFOHyperLink::FitRect(window, text, CFOHyperLink::kCenter), CRect(40, 20, 80, 33));
    EXPECT_EQ(
        CFOHyperLink::FitRect(window, text, CFOHyperLink::kCenter | CFOHyperLink::kCenterImage),
        CRect(40, 28, 80, 42));

    FakeLinkHost host;
    host.text = "x";
    CFOHyperLink link;
    link.SetAutoSize(false);
    link.Attach(&host);
    EXPECT_EQ(host.rect, CRect(10, 20, 110, 50));
}

TEST(HyperLinkTest, ErrorTexts) {
    EXPECT_EQ(CFOHyperLink::ErrorText(26), "A sharing violation occurred. ");
    EXPECT_EQ(CFOHyperLink::ErrorText(1), "Unknown Error (1) occurred.");
    EXPECT_EQ(CFOHyperLink::ErrorText(-7), "Unknown Error (-7) occurred.");
    EXPECT_EQ(CFOHyperLink::ErrorText(31),
              "There is no application associated\nwith the given filename extension.");
}

TEST(HyperLinkTest, ClickOpensOnceAndMarksVisited) {
    RecordingShell shell;
    IShell::Installation installed(shell);
    FakeLinkHost host;
    const std::string hostile = "http://127.0.0.1/a b\"c';$(rm -rf x)";
    CFOHyperLink link;
    link.SetURL(hostile);
    link.Attach(&host);
    EXPECT_EQ(link.TextColour(), RGB(0, 0, 0xEE));
    link.OnClicked();
    EXPECT_EQ(shell.Opened(), std::vector<std::string>{hostile});
    EXPECT_TRUE(link.GetVisited());
    EXPECT_EQ(link.TextColour(), RGB(85, 26, 139));
    link.OnMouseMove({3, 3}, {50, 13});
    EXPECT_TRUE(host.captured);
    EXPECT_EQ(link.TextColour(), GetSysColor(COLOR_HIGHLIGHT));
    link.OnMouseMove({60, 3}, {50, 13});
    EXPECT_FALSE(host.captured);
    EXPECT_FALSE(link.IsOver());
}

TEST(HyperLinkTest, FailureBeepsReportsAndStaysUnvisited) {
    FailingShell shell;
    IShell::Installation installedShell(shell);
    ScriptedMessageBox box;
    IMessageBox::Installation installedBox(box);
    FakeLinkHost host;
    CFOHyperLink link;
    link.SetURL("http://127.0.0.1/");
    link.Attach(&host);
    link.OnClicked();
    EXPECT_FALSE(link.GetVisited());
    EXPECT_EQ(host.bells, 1);
    ASSERT_EQ(box.ShownBoxes().size(), 1u);
    EXPECT_EQ(box.ShownBoxes()[0].text,
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
              "filename extension.");

    // An empty address opens nothing and says so.
    FakeLinkHost blank;
    CFOHyperLink nothing;
    nothing.Attach(&blank);
    nothing.OnClicked();
    EXPECT_EQ(shell.asked.size(), 1u);
    EXPECT_EQ(box.ShownBoxes().size(), 2u);
}

TEST(HyperLinkTest, ColoursWithTheDesktopHighlight) {
    CFOHyperLink link;
    link.SetColors(RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(link.GetHoverColour(), GetSysColor(COLOR_HIGHLIGHT));
    link.SetColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    EXPECT_EQ(link.GetHoverColour(), RGB(7, 8, 9));
    EXPECT_EQ(link.TextColour(), RGB(1, 2, 3));
}

} // namespace
