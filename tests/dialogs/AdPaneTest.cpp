#include "dialogs/AdPageList.h"
#include "dialogs/AdPaneCommands.h"
#include "dialogs/AdPaneController.h"
#include "dialogs/AdTitle.h"
#include "dialogs/IAdLinkActions.h"
#include "dialogs/IAdPaneWindow.h"
#include "dialogs/IPaneTimers.h"
#include "net/DownloadName.h"
#include "net/FetchService.h"
#include "net/IConnectivity.h"
#include "net/VersionCheck.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "tests/support/MainQueue.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {

struct FakeWindow : IAdPaneWindow {
    void Navigate(const std::string& url) override { navigated.push_back(url); }
    void SetWindowText(const std::string& text) override { this->text = text; }
    void SetPaneHeight(int height, int minimum) override {
        heights.push_back({height, minimum});
        if (minimum >= 0)
            frameMinimum = minimum;
        // As the window does: the controller hears at once of the height the frame gave.
        if (echo)
            echo->OnSize(height + extra);
    }
    int MinimumPaneHeight() const override { return frameMinimum; }
    void Repaint() override { ++repaints; }
    void ShowStatus(const std::string& text) override { status.push_back(text); }

    std::vector<std::string> navigated;
    std::string text;
    std::vector<std::pair<int, int>> heights;
    int frameMinimum = 0;
    int repaints = 0;
    std::vector<std::string> status;
    AdPaneController* echo = nullptr;
    int extra = 0;
};

struct FakeTimers : IPaneTimers {
    void SetTimer(int id, int ms) override { armed[id] = ms; }
    void KillTimer(int id) override { armed.erase(id); }
    std::map<int, int> armed;
};

struct FakeConnectivity : IConnectivity {
    bool IsConnected(int) override {
        ++calls;
        return online;
    }
    bool online = false;
    int calls = 0;
};

struct FakeLinks : IAdLinkActions {
    bool ApplyMask(const std::string& url) override { return Record("MASK " + url); }
    bool DownloadTiler(const std::string& url) override { return Record("TILER " + url); }
    bool UseTemplate(const std::string& url) override { return Record("TEMPLATE " + url); }
    bool Record(const std::string& what) {
        done.push_back(what);
        return true;
    }
    std::vector<std::string> done;
};

std::string Line(const std::string& id, const std::string& kind, const std::string& location) {
    return "name|7|c3|c4|c5|" + id + "|c7|c8|c9|c10|c11|" + kind + "|" + location + "|c14|c15";
}

class AdPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("orlimber-pane-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "html");
        html_ = (dir_ / "html").string() + "/";
        profile_ = std::make_unique<CProfile>((dir_ / "OrlimberSTD.ini").string());
    }
    void TearDown() override {
        profile_.reset();
        std::filesystem::remove_all(dir_);
    }
    void WriteList(int entries, const std::string& extra = {}) {
        std::ofstream out(html_ + AdPageList::kFileName, std::ios::binary);
        out << "# our pages\r\n" << extra;
        for (int i = 0; i < entries; ++i)
            out << Line(std::string(1, static_cast<char>('a' + i)), "file",
                        std::string(1, 'p').append(std::to_string(i)).append(".html"))
                << "\r\n";
    }
    AdPaneController& Pane(const std::string& base = "http://127.0.0.1:9/") {
        profile_->WriteProfileString("Settings", "WebBase", base);
        pane_.reset();
        fetches_ = std::make_unique<FetchService>(WebEndpoint(*profile_));
        pane_ = std::make_unique<AdPaneController>(
            AdPaneController::Services{window_, timers_, net_, links_, *profile_, *fetches_},
            WebEndpoint(*profile_), html_);
        return *pane_;
    }

    std::filesystem::path dir_;
    std::string html_;
    std::unique_ptr<CProfile> profile_;
    FakeWindow window_;
    FakeTimers timers_;
    FakeConnectivity net_;
    FakeLinks links_;
    ScriptedMessageBox box_;
    IMessageBox::Installation boxInstalled_{box_};
    std::unique_ptr<FetchService> fetches_;
    std::unique_ptr<AdPaneController> pane_;
};

} // namespace

TEST(AdTitleTest, ValuesAndMessageAreReadAsFarAsTheyMatch) {
    const auto v = AdTitle::Parse("@0#5#120#300#10#3 News [Hello]");
    EXPECT_EQ(v.mode, 0);
    EXPECT_EQ(v.rotationMs, 300000);
    EXPECT_EQ(v.loadHeight, 120);
    EXPECT_EQ(v.secondHeight, 300);
    EXPECT_EQ(v.openDelayMs, 10000);
    EXPECT_EQ(v.collapseDelayMs, 3000);
    EXPECT_EQ(v.message, "Hello");

    EXPECT_EQ(AdTitle::Parse("@2#1#1#1#1#1 []").message, "");
    EXPECT_EQ(AdTitle::Parse("@2 ]x[").message, "");
    EXPECT_EQ(AdTitle::Parse("@2 [a]b]").message, "a");
    const auto partial = AdTitle::Parse("@2# 7#x#4");
    EXPECT_EQ(partial.mode, 2);
    EXPECT_EQ(partial.rotationMs, 420000);
    EXPECT_FALSE(partial.loadHeight);
    EXPECT_FALSE(partial.secondHeight);
    EXPECT_FALSE(AdTitle::Parse("News @1#2").mode);
    EXPECT_FALSE(AdTitle::Parse("@").mode);
    const auto huge =
        AdTitle::Parse("@99999999999999999999999#99999999999#-5#7#-99999999999999#4000000");
    EXPECT_EQ(huge.mode, INT_MAX);
    EXPECT_EQ(huge.rotationMs, INT_MAX);
    EXPECT_EQ(huge.loadHeight, 0);
    EXPECT_EQ(huge.openDelayMs, 0);
    EXPECT_EQ(huge.collapseDelayMs, INT_MAX);
}

TEST(AdTitleTest, VersionRepliesCountOnlyWhenTheyNameAnotherCode) {
    for (const char* same : {"QV364\n", "QV3\n", "Q\n", "", "x"})
        EXPECT_FALSE(VersionCheck::IsUpdate(true, 200, same, "QV364")) << same;
    for (const char* other : {"QV365\n", "QV3645\n", "qv364\n", "QV36\n\n"})
        EXPECT_TRUE(VersionCheck::IsUpdate(true, 200, other, "QV364")) << other;
    EXPECT_FALSE(VersionCheck::IsUpdate(true, 404, "QV365\n", "QV364"));
    EXPECT_FALSE(VersionCheck::IsUpdate(false, 200, "QV365\n", "QV364"));
    EXPECT_FALSE(VersionCheck::IsUpdate(true, 200, std::string(5000, 'Q'), "QV364"));
}

TEST_F(AdPaneTest, ListLinesNeedFourteenBarsAndKeepTheRestInTheLastField) {
    CAdList e;
    EXPECT_EQ(CAdList::FromLine("a|b|c", html_, e), CAdList::Parse::Rejected);
    EXPECT_EQ(CAdList::FromLine("", html_, e), CAdList::Parse::Rejected);
    EXPECT_EQ(CAdList::FromLine("1|42|3|4|5|id|7|8|9|10|11||p.html|14", html_, e),
              CAdList::Parse::Rejected);
    EXPECT_EQ(CAdList::FromLine("#|||||||||||||||", html_, e), CAdList::Parse::Comment);
    ASSERT_EQ(CAdList::FromLine("1|42|3|4|5|id|7|8|9|10|11||p.html|14|", html_, e),
              CAdList::Parse::Entry);
    EXPECT_EQ(e.location, html_ + "p.html");
    EXPECT_EQ(e.number, 42);
    EXPECT_EQ(e.pageId, "id");
    EXPECT_EQ(e.field15, "");
    ASSERT_EQ(CAdList::FromLine("1||3|4|5|id|7|8|9|10|11|Https|host/x|14|a|b|c\r", html_, e),
              CAdList::Parse::Entry);
    EXPECT_EQ(e.kind, "HTTPS");
    EXPECT_EQ(e.location, "https://host/x");
    EXPECT_EQ(e.field15, "a|b|c");
    EXPECT_EQ(e.field14, "14");
    EXPECT_EQ(e.number, 0);
    EXPECT_EQ(CAdList::FromLine("1||3|4|5|id|7|8|9|10|11|ftp|host/x|14|15", html_, e),
              CAdList::Parse::Rejected);

    // Nine entries break the installation at the first load only; later the old list stays.
    WriteList(9, "a|b\r\n" + Line("ftp", "FTP", "x") + "\r\n");
    EXPECT_FALSE(Pane().OnInitialUpdate());
    ASSERT_EQ(box_.ShownBoxes().size(), 1u);
    EXPECT_EQ(box_.ShownBoxes()[0].text, AdPageList::kTooFewText);
    std::filesystem::remove(html_ + AdPageList::kFileName);
    EXPECT_FALSE(Pane().OnInitialUpdate());
    EXPECT_EQ(box_.ShownBoxes().back().text, AdPageList::kFileErrorText);

    WriteList(10);
    box_.Clear();
    AdPaneController& pane = Pane();
    ASSERT_TRUE(pane.OnInitialUpdate());
    WriteList(3);
    EXPECT_TRUE(pane.OnInitialUpdate());
    EXPECT_EQ(pane.Pages().Entries().size(), 10u);
    EXPECT_TRUE(box_.ShownBoxes().empty());
}

TEST_F(AdPaneTest, OfflineRotationContinuesAfterTheLastPageShown) {
    WriteList(12);
    AdPaneController& pane = Pane();
    ASSERT_TRUE(pane.OnInitialUpdate());
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);

    const auto next = [&](const char* last) {
        if (last)
            profile_->WriteProfileString("Ads", "LastAd", last);
        window_.navigated.clear();
        pane.OnTimer(AdPaneController::kRotateTimer);
        EXPECT_EQ(window_.navigated.size(), 1u);
        return window_.navigated.empty() ? std::string() : window_.navigated.back();
    };
    EXPECT_EQ(next(nullptr), html_ + "p0.html");
    EXPECT_EQ(profile_->GetProfileString("Ads", "LastAd"), "a");
    EXPECT_EQ(next(nullptr), html_ + "p1.html");
    EXPECT_EQ(next("l"), html_ + "p0.html");
    EXPECT_EQ(next("c"), html_ + "p3.html");
    EXPECT_EQ(next("zz"), html_ + "p0.html");

    // A page's title steers the pane once it has loaded.
    pane.OnTitleChange("@0#5#120#300#10#3 News [Hello]");
    EXPECT_EQ(window_.text, "@0#5#120#300#10#3 News [Hello]");
    pane.OnDocumentComplete();
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 300000);
    EXPECT_EQ(timers_.armed.at(AdPaneController::kOpenTimer), 10000);
    EXPECT_EQ(window_.heights.back(), std::make_pair(120, 120));
    // A later title without B keeps the rotation as it was, not multiplied again.
    pane.OnTitleChange("@2 [Note]");
    EXPECT_EQ(pane.RotationMs(), 300000);
    // A rotation of 0 steers nothing: the page is left alone for the back-off.
    pane.OnTitleChange("@0#0");
    pane.OnDocumentComplete();
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), AdPaneController::kBackOffMs);
    // Nor is any page shown again within half a minute, whatever its title asks.
    pane.OnTitleChange("@0#1");
    pane.OnDocumentComplete();
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 60000);
    EXPECT_GE(AdPaneController::kMinRotationMs, 30000);
    pane.OnTitleChange("Plain title");
    EXPECT_EQ(window_.text, "@0#1");
}

TEST_F(AdPaneTest, TheSecondHeightOpensThenShrinksByTenthsWithoutProbing) {
    WriteList(10);
    AdPaneController& pane = Pane();
    ASSERT_TRUE(pane.OnInitialUpdate());
    pane.OnTitleChange("@0#1#20#100#1#3");
    pane.OnTimer(AdPaneController::kOpenTimer);
    EXPECT_EQ(window_.heights.back(), std::make_pair(100, 100));
    EXPECT_EQ(timers_.armed.at(AdPaneController::kCollapseTimer), 3000);

    const int probes = net_.calls;
    std::vector<int> steps;
    while (timers_.armed.count(AdPaneController::kCollapseTimer)) {
        pane.OnTimer(AdPaneController::kCollapseTimer);
        steps.push_back(window_.heights.back().first);
        EXPECT_EQ(window_.heights.back().second, 0);
        if (steps.back() > 0) {
            EXPECT_EQ(timers_.armed.at(AdPaneController::kCollapseTimer), 50);
        }
    }
    const std::vector<int> expected = {90, 81, 72, 64, 57, 51, 45, 40, 36, 32, 28, 25, 22, 19,
                                       17, 15, 13, 11, 9,  8,  7,  6,  5,  4,  3,  2,  1,  0};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(net_.calls, probes);

    // A height the user drags to becomes the second height; a collapse forgets it.
    pane.OnSize(77);
    EXPECT_EQ(pane.SecondHeight(), 77);
    pane.CollapsePane();
    EXPECT_EQ(pane.SecondHeight(), 0);
    EXPECT_EQ(window_.heights.back(), std::make_pair(1, 0));

    pane.SetInfoBoxVisible(false);
    pane.OnTimer(AdPaneController::kRotateTimer);
    EXPECT_EQ(window_.heights.back(), std::make_pair(1, 0));
    EXPECT_FALSE(timers_.armed.count(AdPaneController::kRotateTimer));
}

TEST_F(AdPaneTest, TheShrinkEndsEvenWhenTheFrameGivesMoreThanAsked) {
    WriteList(10);
    AdPaneController& pane = Pane();
    ASSERT_TRUE(pane.OnInitialUpdate());
    pane.OnTitleChange("@0#1#20#100#1#3");
    window_.echo = &pane;
    window_.extra = 2;
    pane.OnTimer(AdPaneController::kOpenTimer);
    int steps = 0;
    while (timers_.armed.count(AdPaneController::kCollapseTimer) && steps < 100) {
        pane.OnTimer(AdPaneController::kCollapseTimer);
        ++steps;
    }
    EXPECT_LT(steps, 100);
    EXPECT_EQ(window_.heights.back(), std::make_pair(0, 0));
    EXPECT_EQ(pane.SecondHeight(), 0);
    window_.echo = nullptr;
}

TEST_F(AdPaneTest, AGalleryStaysUntilItsSecondResize) {
    WriteList(10);
    AdPaneController& pane = Pane("http://127.0.0.1:9");
    ASSERT_TRUE(pane.OnInitialUpdate());
    net_.online = true;
    timers_.armed[AdPaneController::kOpenTimer] = 5;
    ASSERT_TRUE(pane.OnCommand(AdPaneController::kCmdMaskGallery));
    EXPECT_FALSE(pane.OnCommand(32771));
    EXPECT_EQ(window_.navigated.back(),
              "http://127.0.0.1:9/redir.php?LOC=MASKS&MAX_VER=1.000&VER=QV364");
    EXPECT_TRUE(timers_.armed.empty());

    pane.OnDocumentComplete();
    EXPECT_EQ(pane.RotationMs(), AdPaneController::kGalleryLoaded);
    EXPECT_EQ(window_.heights.back(), std::make_pair(AdPaneController::kGalleryHeight, 1));
    pane.OnSize(400);
    EXPECT_TRUE(pane.InGallery());
    EXPECT_TRUE(timers_.armed.empty());
    pane.OnSize(400);
    EXPECT_FALSE(pane.InGallery());
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);

    // Online, timer 1 shows the info page.
    pane.OnTimer(AdPaneController::kRotateTimer);
    EXPECT_EQ(window_.navigated.back(), "http://127.0.0.1:9/redir.php?LOC=info");

    pane.OnCommand(AdPaneController::kCmdCheckUpdates);
    EXPECT_EQ(window_.navigated.back(), "http://127.0.0.1:9/redir.php?LOC=CHECKUPDATE&VER=QV364");

    // Offline, a gallery or the update check says why nothing comes, and the program's own
    // pages take the pane; the web host is not asked for its info page meanwhile.
    net_.online = false;
    for (UINT command : {AdPaneController::kCmdTilerGallery, AdPaneController::kCmdCheckUpdates}) {
        box_.Clear();
        window_.navigated.clear();
        ASSERT_TRUE(pane.OnCommand(command));
        ASSERT_EQ(box_.ShownBoxes().size(), 1u);
        EXPECT_NE(box_.ShownBoxes()[0].text.find("cannot be reached"), std::string::npos);
        EXPECT_FALSE(pane.InGallery());
        EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);
        net_.online = true;
        pane.OnTimer(AdPaneController::kRotateTimer);
        net_.online = false;
        ASSERT_EQ(window_.navigated.size(), 1u);
        EXPECT_EQ(window_.navigated[0].rfind(html_, 0), 0u) << window_.navigated[0];
    }
}

TEST_F(AdPaneTest, TheFramesGalleryCommandsReachThePane) {
    WriteList(10);
    AdPaneController& pane = Pane("http://127.0.0.1:9/");
    ASSERT_TRUE(pane.OnInitialUpdate());
    net_.online = true;
    AdPaneCommands commands(pane);
    const std::pair<UINT, const char*> expected[] = {
        {AdPaneController::kCmdTemplateGallery, "LOC=templates_v2&MAX_VER=2.000&VER=QV364"},
        {AdPaneController::kCmdMaskGallery, "LOC=MASKS&MAX_VER=1.000&VER=QV364"},
        {AdPaneController::kCmdTilerGallery, "LOC=TILERS&MAX_VER=1.500&VER=QV364"},
        {AdPaneController::kCmdCheckUpdates, "LOC=CHECKUPDATE&VER=QV364"}};
    for (const auto& [id, query] : expected) {
        ASSERT_TRUE(commands.RunCommand(id)) << id;
        EXPECT_EQ(window_.navigated.back(), std::string("http://127.0.0.1:9/redir.php?") + query);
        EXPECT_TRUE(pane.InGallery());
    }
    EXPECT_FALSE(commands.HandlesCommand(32771));
}

TEST_F(AdPaneTest, DownloadLinksAreAskedForAndStayOnTheWebHost) {
    WriteList(10);
    AdPaneController& pane = Pane("http://127.0.0.1:8123/");
    ASSERT_TRUE(pane.OnInitialUpdate());
    net_.online = true;
    pane.OnCommand(AdPaneController::kCmdMaskGallery);

    EXPECT_FALSE(pane.OnBeforeNavigate("http://127.0.0.1:8123/page.html"));
    EXPECT_TRUE(pane.OnBeforeNavigate("mzmask"));
    EXPECT_TRUE(pane.OnBeforeNavigate("mz:x"));
    EXPECT_TRUE(pane.OnBeforeNavigate("MZother://127.0.0.1:8123/x"));
    EXPECT_TRUE(box_.ShownBoxes().empty());

    box_.Answer(IDNO);
    EXPECT_TRUE(pane.OnBeforeNavigate("mzmask://127.0.0.1:8123/p/m.gif"));
    EXPECT_TRUE(links_.done.empty());
    EXPECT_TRUE(pane.InGallery());
    box_.Answer(IDYES);
    EXPECT_TRUE(pane.OnBeforeNavigate("mzMask://127.0.0.1:8123/p/m.gif"));
    ASSERT_EQ(box_.ShownBoxes().size(), 2u);
    EXPECT_EQ(box_.ShownBoxes()[1].text, "Apply MASK to current maze?");
    EXPECT_EQ(box_.ShownBoxes()[1].type, UINT(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(links_.done, std::vector<std::string>{"MASK http://127.0.0.1:8123/p/m.gif"});
    EXPECT_FALSE(pane.InGallery());

    box_.Answer(IDYES);
    box_.Answer(IDYES);
    pane.OnBeforeNavigate("mztiler://127.0.0.1:8123/t/a.tle");
    pane.OnBeforeNavigate("mztemplate://127.0.0.1:8123/t/b.wkz");
    EXPECT_EQ(box_.ShownBoxes()[2].text, "Download TILER?");
    EXPECT_EQ(box_.ShownBoxes()[3].text, "Use TEMPLATE as current maze?");
    EXPECT_EQ(links_.done.size(), 3u);

    box_.Clear();
    links_.done.clear();
    EXPECT_TRUE(pane.OnBeforeNavigate("mzmask://127.0.0.2:8123/p/m.gif"));
    EXPECT_TRUE(pane.OnBeforeNavigate("mzmask://user@evil.example/p/m.gif"));
    EXPECT_TRUE(links_.done.empty());
    ASSERT_EQ(box_.ShownBoxes().size(), 2u);
    EXPECT_NE(box_.ShownBoxes()[0].text.find("127.0.0.1"), std::string::npos);
}

TEST_F(AdPaneTest, TheUpdateIsOfferedOncePerRunAndOnlyForAnotherVersion) {
    TestHttpServer server;
    const std::string query = "/redir.php?LOC=latestversion&VER=QV364";
    WriteList(10);
    net_.online = true;
    AdPaneController& pane = Pane(server.Url("/"));

    const auto reply = [&](int status, const std::string& body) {
        TestHttpServer::Route r;
        r.status = status;
        r.body = body;
        server.Add(query, r);
        window_.navigated.clear();
        timers_.armed.clear();
        EXPECT_TRUE(pane.OnInitialUpdate());
        EXPECT_TRUE(RunUntilIdle(*fetches_));
    };
    for (const char* same : {"QV364\n", "QV3\n", ""}) {
        reply(200, same);
        EXPECT_TRUE(window_.navigated.empty()) << same;
        EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1) << same;
    }
    reply(404, "QV365\n");
    EXPECT_TRUE(window_.navigated.empty());
    reply(200, "QV365\n");
    EXPECT_EQ(window_.navigated,
              std::vector<std::string>{server.Url("/redir.php?LOC=latestdownload&VER=QV364")});
    EXPECT_TRUE(timers_.armed.empty());
    EXPECT_TRUE(pane.InGallery());
    reply(200, "QV365\n");
    EXPECT_TRUE(window_.navigated.empty());
    EXPECT_TRUE(timers_.armed.empty());

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 6u);
    for (const auto& r : requests) {
        EXPECT_EQ(r.path, query);
        EXPECT_NE(r.head.find("\r\nUser-Agent: ORLIMBER-QV364\r\n"), std::string::npos);
    }

    // Offline, nobody is asked.
    net_.online = false;
    reply(200, "QV366\n");
    EXPECT_EQ(server.Requests().size(), 6u);
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);
}

TEST(DownloadNameTest, OutsideNamesStayPlainNamesInTheirFolder) {
    std::string name = "kept";
    for (const char* bad : {"../..", "a/..", "", "  ", "x/", "dir\\", "a\tb", "."})
        EXPECT_FALSE(DownloadName::Plain(bad, name)) << bad;
    EXPECT_EQ(name, "kept");
    EXPECT_TRUE(DownloadName::Plain(" ../../x.gif \r", name));
    EXPECT_EQ(name, "x.gif");
    EXPECT_TRUE(DownloadName::Plain("C:\\Windows\\evil.bmp", name));
    EXPECT_EQ(name, "evil.bmp");
    EXPECT_TRUE(DownloadName::Plain("/etc/passwd", name));
    EXPECT_EQ(name, "passwd");
    EXPECT_TRUE(DownloadName::FromUrl("http://127.0.0.1:8123/t/a%20b.tle?x=/../y#z", name));
    EXPECT_EQ(name, "a%20b.tle");
    EXPECT_FALSE(DownloadName::FromUrl("http://127.0.0.1:8123/t/", name));
    EXPECT_FALSE(DownloadName::Plain(std::string(300, 'n'), name));
}

TEST_F(AdPaneTest, AFailedOrTitlelessWebPageGivesWayToLocalPagesForTheBackOff) {
    WriteList(10);
    net_.online = true;
    AdPaneController& pane = Pane("http://127.0.0.1:9/");
    auto now = AdPaneController::Clock::now();
    pane.SetClock([&] { return now; });
    ASSERT_TRUE(pane.OnInitialUpdate());
    ASSERT_TRUE(RunUntilIdle(*fetches_));
    const std::string info = "http://127.0.0.1:9/redir.php?LOC=info";
    const auto rotate = [&] {
        window_.navigated.clear();
        pane.OnTimer(AdPaneController::kRotateTimer);
        return window_.navigated.empty() ? std::string() : window_.navigated.back();
    };
    ASSERT_EQ(rotate(), info);
    // The host failed: the local pages take over at once, and the host is left alone.
    pane.OnLoadFailed(info, "timed out");
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rotate().rfind(html_, 0), 0u);
        now += std::chrono::seconds(5);
    }
    now += std::chrono::seconds(6);
    ASSERT_EQ(rotate(), info);
    // A page that came but carries no title-control string counts the same.
    pane.OnTitleChange("Not Found");
    pane.OnDocumentComplete();
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);
    EXPECT_EQ(rotate().rfind(html_, 0), 0u);
    now += std::chrono::seconds(29);
    EXPECT_EQ(rotate().rfind(html_, 0), 0u);
    now += std::chrono::seconds(2);
    EXPECT_EQ(rotate(), info);
    // A local page without a title waits the back-off before the next one.
    pane.OnLoadFailed(info, "timed out");
    rotate();
    pane.OnDocumentComplete();
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), AdPaneController::kBackOffMs);
}

TEST_F(AdPaneTest, ClickedLinksStayOnTheWebHostAndTheProgramsPages) {
    WriteList(10);
    AdPaneController& pane = Pane("http://127.0.0.1:8123/");
    RecordingShell shell;
    const IShell::Installation installed(shell);
    ASSERT_TRUE(pane.OnInitialUpdate());
    const std::string local = "file://" + html_ + "p1.html";
    for (const std::string& followed :
         {std::string("http://127.0.0.1:8123/about.html"), std::string("HTTP://127.0.0.1:8123/x"),
          std::string("mzmask://127.0.0.1:8123/p/m.gif"), local,
          "file://" + html_ + "sub/../p2.html", "file://localhost" + html_ + "p%31.html"})
        EXPECT_TRUE(pane.OnLinkClicked(followed)) << followed;
    EXPECT_TRUE(window_.status.empty());

    // Anything else is neither shown in the pane nor fetched by the program.
    for (const std::string& ignored :
         {std::string("file:///etc/passwd"), "file://" + html_ + "../index.lst",
          "file://" + html_ + "%2e%2e/x.html", std::string("file://otherhost") + html_ + "p1.html",
          std::string("javascript:alert(1)"), std::string("JavaScript:void(0)"),
          std::string("data:text/html,<b>x</b>"), std::string("ftp://127.0.0.1:8123/x")}) {
        window_.status.clear();
        EXPECT_FALSE(pane.OnLinkClicked(ignored)) << ignored;
        ASSERT_EQ(window_.status.size(), 1u) << ignored;
        EXPECT_NE(window_.status[0].find("does not follow"), std::string::npos) << ignored;
    }
    // Other web addresses, another port or scheme of the same machine included, go to the
    // desktop's browser.
    std::vector<std::string> elsewhere{"http://127.0.0.1:8124/page.html",
                                       "https://127.0.0.1:8123/page.html", "http://other.example/"};
    for (const std::string& url : elsewhere)
        EXPECT_FALSE(pane.OnLinkClicked(url)) << url;
    EXPECT_EQ(window_.status.back(), "Opened in the web browser: http://other.example/");
    ASSERT_TRUE(RunUntilIdle(*fetches_));
    std::vector<std::string> opened = shell.Opened();
    std::sort(opened.begin(), opened.end());
    std::sort(elsewhere.begin(), elsewhere.end());
    EXPECT_EQ(opened, elsewhere);
    EXPECT_TRUE(window_.navigated.empty() ||
                window_.navigated.back().rfind("http://127.0.0.1:8124", 0) != 0);
}

TEST_F(AdPaneTest, APageListEntryOffTheWebHostCountsAsFailed) {
    WriteList(10);
    AdPaneController& pane = Pane("http://127.0.0.1:8123/");
    ASSERT_TRUE(pane.OnInitialUpdate());
    EXPECT_TRUE(pane.OnBeforeNavigate("http://127.0.0.1:8124/ad.html"));
    EXPECT_EQ(timers_.armed.at(AdPaneController::kRotateTimer), 1);
    EXPECT_FALSE(pane.OnBeforeNavigate("http://127.0.0.1:8123/ad.html"));
}
