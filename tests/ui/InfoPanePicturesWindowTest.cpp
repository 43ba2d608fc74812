#include "document/WkzFileCommands.h"
#include "net/PanePictureQueue.h"
#include "tests/support/FileText.h"
#include "tests/support/PngBomb.h"
#include "tests/ui/InfoPaneWindowFixture.h"

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

// Pictures for the pane's pages come from a loopback host that answers many clients at once
// and counts them.
class InfoPanePicturesWindowTest : public InfoPaneWindowFixture {
protected:
    void SetUp() override {
        InfoPaneWindowFixture::SetUp();
        green_.body = Convert("-size 40x40 xc:'#00a000'", "green.png");
        green_.headers = {{"Content-Type", "image/png"}};
    }

    std::string Convert(const std::string& arguments, const std::string& name) {
        const std::string path = folder_.File(name);
        EXPECT_EQ(std::system(("convert " + arguments + " " + path).c_str()), 0);
        return ReadFileText(path);
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

    TestHttpServer::Route green_;
};

} // namespace

TEST_F(InfoPanePicturesWindowTest, ThousandsOfPicturesAndAPictureBombLeaveTheWindowFree) {
    // A green picture, a 48 KB PNG that declares 20000 x 20000, then two thousand more.
    std::string body = "<p>Pictures</p><img src=\"" + server_.Url("/pic/green.png") +
                       "\"><img src=\"" + server_.Url("/pic/bomb.png") + "\">";
    for (int i = 0; i < 2000; ++i)
        body += "<img width=\"2\" height=\"2\" src=\"" +
                server_.Url("/pic/" + std::to_string(i) + ".png") + "\">";
    server_.Add("/redir.php?LOC=info", Page("@0#1#400#400#30#30 Pictures", body));
    green_.delayMs = 100;
    server_.Add("/pic/green.png", green_);
    TestHttpServer::Route bomb = green_;
    bomb.body = PngBomb::Make(20000, 20000);
    server_.Add("/pic/bomb.png", bomb);
    TestHttpServer::Route small = green_;
    small.body = Convert("-size 2x2 xc:blue", "small.png");
    server_.Add("/pic/*", small);
    Open();

    ASSERT_TRUE(xdo::PumpUntil([&] { return Shows("Pictures"); }, 10000)) << pane_->ToText();
    // While the pictures come the window answers at once.
    long long slowest = 0;
    bool opened = true;
    while (server_.Asked("/pic/") < int(PanePictureQueue::kMaxPerPage) / 2) {
        const long long ms = MenuOpensAfterMs();
        opened = opened && ms >= 0;
        slowest = std::max(slowest, ms);
    }
    EXPECT_TRUE(opened);
    EXPECT_LT(slowest, 500);
    RecordProperty("menu_open_ms", int(slowest));
    // The page shows again with its pictures once the last is in; the first is drawn.
    ASSERT_TRUE(xdo::PumpUntil([&] { return GreenPixels() >= 40 * 40; }, 20000)) << GreenPixels();
    EXPECT_EQ(server_.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage));
    EXPECT_LE(server_.MostAtOnce(), 4);
#if !defined(__SANITIZE_ADDRESS__)
    // (A sanitizer's shadow and quarantine would be counted too.)
    EXPECT_LT(PeakMegabytes(), 400);
#endif
    RecordProperty("peak_mb", int(PeakMegabytes()));

    // The next rotation brings the same page: its pictures come from the cache.
    const int pages = server_.Asked("/redir.php?LOC=info");
    const auto shown = pane_->LastShowTime();
    pane_->ShowNextPageSoon();
    ASSERT_TRUE(xdo::PumpUntil([&] { return server_.Asked("/redir.php?LOC=info") > pages; }, 5000));
    // Shown again: whatever it asked the host for meanwhile is in before the count below.
    ASSERT_TRUE(xdo::PumpUntil([&] { return pane_->LastShowTime() != shown; }, 5000));
    ASSERT_TRUE(xdo::PumpUntil([&] { return app_->Fetches().Idle(); }, 20000));
    ASSERT_TRUE(xdo::Settled(*pane_));
    EXPECT_TRUE(Shows("Pictures"));
    EXPECT_GE(GreenPixels(), 40 * 40);
    EXPECT_EQ(server_.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage));
}

TEST_F(InfoPanePicturesWindowTest, ExitIsQuickWithAPictureHangingAndALateDownloadFindsNoFrame) {
    server_.Add("/redir.php?LOC=info",
                Page("@0#1#200#200#30#30 Hanging",
                     "<p>Hanging</p><img src=\"" + server_.Url("/pic/hang.png") + "\">"));
    green_.delayMs = 120000;
    server_.Add("/pic/hang.png", green_);
    CGridloomDoc source(Profile());
    source.Settings().kind = KIND_BOX;
    source.Settings().columns = 7;
    source.Settings().rows = 5;
    source.OnFileNew();
    source.formatVersion = 2.0;
    const std::string saved = folder_.File("seven.wkz");
    ASSERT_TRUE(WkzFileCommands::SaveFile(source, saved));
    // The download keeps all but the last byte the host sends.
    TestHttpServer::Route template_;
    template_.body = ReadFileText(saved) + "\n";
    template_.headers = {{"Content-Type", "application/octet-stream"}};
    template_.delayMs = 400;
    server_.Add("/g/seven.wkz", template_);
    Open();
    ASSERT_TRUE(xdo::PumpUntil([&] { return server_.Asked("/pic/hang.png") == 1; }, 10000));
    EXPECT_TRUE(Shows("Hanging"));

    // A template download is under way when the frame goes; its result comes to no frame.
    ASSERT_TRUE(actions_->UseTemplate(server_.Url("/g/seven.wkz")));
    ASSERT_TRUE(xdo::PumpUntil([&] { return server_.Asked("/g/") == 1; }, 10000));
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
