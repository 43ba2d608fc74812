#include "XdoTool.h"
#include "app/AdLinkActions.h"
#include "app/CGridloomApp.h"
#include "net/PanePictureQueue.h"
#include "net/WebEndpoint.h"
#include "net/WebPageCache.h"
#include "dialogs/ui/CAdWindow.h"
#include "dialogs/ui/WebPageFSHandler.h"
#include "document/WkzFileCommands.h"
#include "frame/GridloomDocState.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "maze/TemplateKind.h"
#include "tests/support/CountingHttpServer.h"
#include "tests/support/DocTestSupport.h"
#include "tests/support/FileText.h"
#include "tests/support/PngBomb.h"
#include "view/CGridloomView.h"
#include "view/ui/MazeViewWindow.h"

#include <wx/filesys.h>
#include <wx/statusbr.h>
#include <wx/weakref.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The most resident memory the process has held, in megabytes.
long PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6)) / 1024;
    return -1;
}

CountingHttpServer::Route Page(const std::string& title, const std::string& body) {
    return {"<html><head><title>" + title + "</title></head><body>" + body + "</body></html>",
            "text/html", 0};
}

// The pane and the maze view in the frame, with the web host at a loopback host that answers
// many clients at once and counts them.
class InfoPanePicturesWindowTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        Profile().WriteProfileString("Settings", "WebBase", host_.Url("/"));
        Profile().WriteProfileString("Settings", "ProbeHosts", "127.0.0.1");
        host_.Add("/redir.php?LOC=latestversion&VER=QV364", {"QV364\n", "text/plain", 0});
        green_.body = Convert("-size 40x40 xc:'#00a000'", "green.png");
        green_.type = "image/png";
    }
    // Builds the windows and starts the pane, which asks for the info page at once.
    void Open() {
        app_ = std::make_unique<CGridloomApp>(Profile());
        app_->FindFolders("", folder_.Path().string());
        doc_ = std::make_unique<CGridloomDoc>(Profile());
        doc_->Settings().kind = KIND_BOX;
        doc_->Settings().columns = 6;
        doc_->Settings().rows = 6;
        doc_->OnFileNew();
        app_->AttachDocument(*doc_);
        state_ = std::make_unique<GridloomDocState>(*doc_);
        view_ = std::make_unique<CGridloomView>();
        view_->SetDocument(doc_.get());
        actions_ = std::make_unique<AdLinkActions>(*app_, *view_);
        handler_ = new WebPageFSHandler(WebEndpoint(Profile()), cache_);
        wxFileSystem::AddHandler(handler_); // taken back in TearDown
        frame_ = new CMainFrame();          // owned by wx
        frame_->Router().SetDocument(doc_.get());
        frame_->Router().SetView(view_.get());
        frame_->Commands().SetMazeState(state_.get());
        auto* window = new MazeViewWindow(frame_->Splitter(), *view_); // the splitter's
        frame_->Splitter()->SetPane(CMainFrame::kViewRow, window);
        pane_ = new CAdWindow(
            frame_->Splitter(),
            {*frame_, app_->Connectivity(), *actions_, Profile(), app_->Fetches(), cache_},
            WebEndpoint(Profile()), std::string(ORLIMBER_SOURCE_DIR) + "/res/html/");
        frame_->Splitter()->SetPane(CMainFrame::kInfoPaneRow, pane_);
        frame_->Commands().SetInfoPane(&pane_->Commands());
        app_->SetStatusReporter(frame_->StatusReporter());
        frame_->SetSize(900, 800);
        frame_->Show();
        frame_->Raise();
        view_->OnInitialUpdate();
        ASSERT_TRUE(xdo::Settled(*frame_));
        ASSERT_TRUE(pane_->Start());
    }
    void TearDown() override {
        if (frame_)
            frame_->Destroy();
        xdo::Pump(100);
        if (handler_)
            delete wxFileSystem::RemoveHandler(handler_);
        actions_.reset();
        view_.reset();
        app_.reset();
        DocTest::TearDown();
    }

    std::string Convert(const std::string& arguments, const std::string& name) {
        const std::string path = folder_.File(name);
        EXPECT_EQ(std::system(("convert " + arguments + " " + path).c_str()), 0);
        return ReadFileText(path);
    }
    bool Shows(const std::string& text) const {
        return pane_->ToText().utf8_string().find(text) != std::string::npos;
    }
    // How many pixels of the pane the server shows in the green picture's colour.
    int GreenPixels() const {
        const wxImage shown = xdo::ServerImage(pane_->GetScreenRect());
        int count = 0;
        for (int y = 0; y < shown.GetHeight(); ++y)
            for (int x = 0; x < shown.GetWidth(); ++x)
                count += shown.GetRed(x, y) == 0 && shown.GetGreen(x, y) == 0xA0 &&
                         shown.GetBlue(x, y) == 0;
        return count;
    }
    // Opens the File menu from the keyboard; how long it took to open, or -1.
    long long MenuOpensAfterMs() {
        if (!xdo::Available())
            return 0;
        bool opened = false;
        frame_->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
            opened = true;
            event.Skip();
        });
        frame_->Raise();
        const auto start = Clock::now();
        if (!xdo::Run("key alt+f") || !xdo::PumpUntil([&] { return opened; }, 5000))
            return -1;
        const long long ms = MsSince(start);
        xdo::Run("key Escape");
        xdo::Pump(50);
        return ms;
    }

    CountingHttpServer host_;
    CountingHttpServer::Route green_;
    std::unique_ptr<CGridloomApp> app_;
    std::unique_ptr<GridloomDocState> state_;
    std::unique_ptr<CGridloomView> view_;
    std::unique_ptr<AdLinkActions> actions_;
    WebPageCache cache_;
    WebPageFSHandler* handler_ = nullptr;
    CMainFrame* frame_ = nullptr;
    CAdWindow* pane_ = nullptr;
};

} // namespace

TEST_F(InfoPanePicturesWindowTest, ThousandsOfPicturesAndAPictureBombLeaveTheWindowFree) {
    // A green picture, a 48 KB PNG that declares 20000 x 20000, then two thousand more.
    std::string body = "<p>Pictures</p><img src=\"" + host_.Url("/pic/green.png") +
                       "\"><img src=\"" + host_.Url("/pic/bomb.png") + "\">";
    for (int i = 0; i < 2000; ++i)
        body += "<img width=\"2\" height=\"2\" src=\"" +
                host_.Url("/pic/" + std::to_string(i) + ".png") + "\">";
    host_.Add("/redir.php?LOC=info", Page("@0#1#400#400#30#30 Pictures", body));
    green_.delayMs = 100;
    host_.Add("/pic/green.png", green_);
    host_.Add("/pic/bomb.png", {PngBomb::Make(20000, 20000), "image/png", 100});
    CountingHttpServer::Route small = green_;
    small.body = Convert("-size 2x2 xc:blue", "small.png");
    host_.Add("/pic/*", small);
    Open();

    ASSERT_TRUE(xdo::PumpUntil([&] { return Shows("Pictures"); }, 10000)) << pane_->ToText();
    // While the pictures come the window answers at once.
    long long slowest = 0;
    while (host_.Asked("/pic/") < int(PanePictureQueue::kMaxPerPage) / 2)
        slowest = std::max(slowest, MenuOpensAfterMs());
    EXPECT_GE(slowest, 0);
    EXPECT_LT(slowest, 500);
    RecordProperty("menu_open_ms", int(slowest));
    // The page shows again with its pictures once the last is in; the first is drawn.
    ASSERT_TRUE(xdo::PumpUntil([&] { return GreenPixels() >= 40 * 40; }, 20000)) << GreenPixels();
    EXPECT_EQ(host_.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage));
    EXPECT_LE(host_.MostAtOnce(), 4);
#if !defined(__SANITIZE_ADDRESS__)
    // (A sanitizer's shadow and quarantine would be counted too.)
    EXPECT_LT(PeakMegabytes(), 400);
#endif
    RecordProperty("peak_mb", int(PeakMegabytes()));

    // The next rotation brings the same page: its pictures come from the cache.
    const int pages = host_.Asked("/redir.php?LOC=info");
    pane_->ShowNextPageSoon();
    ASSERT_TRUE(xdo::PumpUntil([&] { return host_.Asked("/redir.php?LOC=info") > pages; }, 5000));
    xdo::Pump(500);
    EXPECT_TRUE(Shows("Pictures"));
    EXPECT_GE(GreenPixels(), 40 * 40);
    EXPECT_EQ(host_.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage));
}

TEST_F(InfoPanePicturesWindowTest, ExitIsQuickWithAPictureHangingAndALateDownloadFindsNoFrame) {
    host_.Add("/redir.php?LOC=info",
              Page("@0#1#200#200#30#30 Hanging",
                   "<p>Hanging</p><img src=\"" + host_.Url("/pic/hang.png") + "\">"));
    green_.delayMs = 120000;
    host_.Add("/pic/hang.png", green_);
    CGridloomDoc source(Profile());
    source.Settings().kind = KIND_BOX;
    source.Settings().columns = 7;
    source.Settings().rows = 5;
    source.OnFileNew();
    source.formatVersion = 2.0;
    const std::string saved = folder_.File("seven.wkz");
    ASSERT_TRUE(WkzFileCommands::SaveFile(source, saved));
    // The download keeps all but the last byte the host sends.
    host_.Add("/g/seven.wkz", {ReadFileText(saved) + "\n", "application/octet-stream", 400});
    Open();
    ASSERT_TRUE(xdo::PumpUntil([&] { return host_.Asked("/pic/hang.png") == 1; }, 10000));
    EXPECT_TRUE(Shows("Hanging"));

    // A template download is under way when the frame goes; its result comes to no frame.
    ASSERT_TRUE(actions_->UseTemplate(host_.Url("/g/seven.wkz")));
    ASSERT_TRUE(xdo::PumpUntil([&] { return host_.Asked("/g/") == 1; }, 10000));
    const auto report = frame_->StatusReporter();
    std::vector<std::string> said;
    app_->SetStatusReporter([&](const std::string& text) {
        said.push_back(text);
        report(text);
    });
    wxWeakRef<wxWindow> frame(frame_);
    doc_->SetInfoPane(nullptr);
    auto start = Clock::now();
    frame_->Destroy();
    frame_ = nullptr;
    ASSERT_TRUE(xdo::PumpUntil([&] { return !frame; }, 2000));
    EXPECT_LT(MsSince(start), 500);
    ASSERT_TRUE(xdo::PumpUntil([&] { return !app_->Downloading(); }, 10000));
    report("late");
    EXPECT_EQ(doc_->GetGrid(0)->Width(), 7)
        << (said.empty() ? "" : said.back()) << doc_->pendingMessage;

    // The hanging picture ends with the services.
    start = Clock::now();
    app_.reset();
    EXPECT_LT(MsSince(start), 500);
}
