#include "dialogs/AdPageList.h"
#include "dialogs/IAdLinkActions.h"
#include "dialogs/ui/CAdWindow.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "net/FetchService.h"
#include "net/IConnectivity.h"
#include "net/WebEndpoint.h"
#include "net/WebPageCache.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"
#include "tests/support/TempFolder.h"

#include "ScreenShot.h"
#include "XdoTool.h"

#include <gtest/gtest.h>

#include <wx/app.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Offline : IConnectivity {
    bool IsConnected(int) override {
        ++checks;
        return false;
    }
    int checks = 0;
};

struct NoLinks : IAdLinkActions {
    bool ApplyMask(const std::string&) override { return false; }
    bool DownloadTiler(const std::string&) override { return false; }
    bool UseTemplate(const std::string&) override { return false; }
};

using xdo::PumpUntil;

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class InfoPaneWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CMainFrame(); // wx owns top-level windows
        frame->SetSize(1000, 800);
        frame->Show();
        ASSERT_TRUE(xdo::Settled(*frame));
    }
    void TearDown() override { EXPECT_TRUE(xdo::Destroy(frame)); }
    // Puts the pane into the frame's lower row and gives it its first update.
    CAdWindow& ShowPane(const std::string& htmlFolder) {
        pane = new CAdWindow(frame->Splitter(), {*frame, offline, links, profile, fetches, cache},
                             WebEndpoint(profile), htmlFolder); // owned by the splitter
        frame->Splitter()->SetPane(CMainFrame::kInfoPaneRow, pane);
        EXPECT_TRUE(pane->Start());
        return *pane;
    }
    int PaneRow() const { return frame->Splitter()->RowHeight(CMainFrame::kInfoPaneRow); }
    bool Shows(const std::string& text) const {
        return pane->ToText().utf8_string().find(text) != std::string::npos;
    }
    void SaveScreenshot(const std::string& name) {
        EXPECT_TRUE(xdo::Settled(*frame));
        EXPECT_TRUE(SaveScreenShot(*frame, name));
    }

    TempFolder folder{"info-pane"};
    CProfile profile{(std::filesystem::path(folder.Path()) / "profile.ini").string()};
    Offline offline;
    NoLinks links;
    FetchService fetches{WebEndpoint(profile)};
    WebPageCache cache;
    ScriptedMessageBox messages;
    IMessageBox::Installation installed{messages};
    CMainFrame* frame = nullptr;
    CAdWindow* pane = nullptr;
};

TEST_F(InfoPaneWindowTest, ShowsTheProgramsOwnFirstPageAndTakesItsHeight) {
    CAdWindow& shown = ShowPane(std::string(ORLIMBER_SOURCE_DIR) + "/res/html/");
    ASSERT_TRUE(PumpUntil([&] { return Shows("Getting started"); }, 3000)) << pane->ToText();
    // The page's title asks for 120 pixels while it loads.
    EXPECT_TRUE(PumpUntil([&] { return PaneRow() == 120 && shown.GetSize().y == 120; }, 3000))
        << PaneRow() << " " << shown.GetSize().y;
    EXPECT_EQ(profile.GetProfileString("Ads", "LastAd"), "start");
    EXPECT_GE(offline.checks, 2); // the first update and the page timer
    SaveScreenshot("info-pane-local.png");
}

TEST_F(InfoPaneWindowTest, EachPagesTitleSetsThePaneAndTheNextPageFollows) {
    const std::filesystem::path html = std::filesystem::path(folder.Path()) / "html";
    std::filesystem::create_directory(html);
    std::string list = "# test pages\r\n";
    for (int i = 0; i < 10; ++i) {
        const std::string id = std::string(1, 'p').append(std::to_string(i));
        WriteFile(html / (id + ".html"), "<html><head><title>@0#1#" + std::to_string(100 + 40 * i) +
                                             "#60#30#30 Page [hello]</title></head><body>Body of " +
                                             id + ".</body></html>");
        list += std::to_string(i) + "|" + std::to_string(i) + "||||" + id + "||||||FILE|" + id +
                ".html||text\r\n";
    }
    WriteFile(html / "index.lst", list);
    profile.WriteProfileString("Ads", "LastAd", "p2");

    CAdWindow& shown = ShowPane(html.string() + "/");
    ASSERT_TRUE(PumpUntil([&] { return Shows("Body of p3."); }, 3000)) << pane->ToText();
    EXPECT_TRUE(PumpUntil([&] { return PaneRow() == 220; }, 3000)) << PaneRow();
    EXPECT_EQ(shown.Controller().Message(), "hello");
    EXPECT_EQ(shown.GetLabel(), "@0#1#220#60#30#30 Page [hello]");

    // The document asks for the next page: it follows at once and brings its own height.
    static_cast<IInfoPane&>(shown).ShowNextPageSoon();
    ASSERT_TRUE(PumpUntil([&] { return Shows("Body of p4."); }, 3000)) << pane->ToText();
    EXPECT_TRUE(PumpUntil([&] { return PaneRow() == 260; }, 3000)) << PaneRow();
    EXPECT_EQ(profile.GetProfileString("Ads", "LastAd"), "p4");
    SaveScreenshot("info-pane-rotated.png");

    // A collapse takes the pane down to its smallest.
    const int resizes = shown.ReportedResizes();
    static_cast<IInfoPane&>(shown).Collapse();
    EXPECT_TRUE(PumpUntil([&] { return PaneRow() <= 1; }, 3000)) << PaneRow();
    EXPECT_GT(shown.ReportedResizes(), resizes);
}

TEST_F(InfoPaneWindowTest, TheSecondHeightShrinksAwayEveryTimeAPageAsksForIt) {
    // Pages that open to a second height at once and start shrinking at once; long enough
    // to need the pane's scrollbars.
    const std::filesystem::path html = std::filesystem::path(folder.Path()) / "html";
    std::filesystem::create_directory(html);
    std::string list;
    for (int i = 0; i < 10; ++i) {
        const std::string id = std::string(1, 's').append(std::to_string(i));
        std::string body;
        for (int line = 0; line < 40; ++line)
            body += "<p>Line " + std::to_string(line) + " of " + id + ".</p>";
        WriteFile(html / (id + ".html"), "<html><head><title>@0#1#120#80#0#0</title></head><body>" +
                                             body + "</body></html>");
        list += std::to_string(i) + "|" + std::to_string(i) + "||||" + id + "||||||FILE|" + id +
                ".html||text\r\n";
    }
    WriteFile(html / "index.lst", list);

    CAdWindow& shown = ShowPane(html.string() + "/");
    const auto closed = [&] { return shown.Controller().SecondHeight() == 0 && PaneRow() == 0; };
    ASSERT_TRUE(PumpUntil([&] { return Shows("Line 39 of s0."); }, 3000)) << pane->ToText();
    EXPECT_TRUE(PumpUntil(closed, 10000)) << shown.Controller().SecondHeight() << " " << PaneRow();

    // Once the pane has been closed, the next page opens to exactly the heights it asks for
    // and shrinks away again.
    static_cast<IInfoPane&>(shown).ShowNextPageSoon();
    ASSERT_TRUE(PumpUntil([&] { return Shows("Line 39 of s1."); }, 3000)) << pane->ToText();
    EXPECT_EQ(frame->InfoPaneHeight().Height(), PaneRow());
    EXPECT_TRUE(PumpUntil(closed, 10000)) << shown.Controller().SecondHeight() << " " << PaneRow();
    EXPECT_FALSE(shown.IsShown());
}

TEST_F(InfoPaneWindowTest, AMissingPageListEndsTheFirstUpdate) {
    pane = new CAdWindow(frame->Splitter(), {*frame, offline, links, profile, fetches, cache},
                         WebEndpoint(profile), folder.Path().string() + "/none/");
    frame->Splitter()->SetPane(CMainFrame::kInfoPaneRow, pane);
    EXPECT_FALSE(pane->Start());
    ASSERT_EQ(messages.ShownBoxes().size(), 1u);
    EXPECT_EQ(messages.ShownBoxes()[0].text, AdPageList::kFileErrorText);
}

} // namespace
