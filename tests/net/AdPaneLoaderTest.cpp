#include "net/AdPaneLoader.h"
#include "net/IPaneBrowser.h"
#include "net/PanePicture.h"
#include "net/WebPageCache.h"
#include "platform/CProfile.h"
#include "tests/support/FileText.h"
#include "tests/support/MainQueue.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

// A browser as the pane's window is one: it opens the page and every picture the page names
// from the cache, noting there what it lacks, and remembers what each show found.
class CacheBrowser : public IPaneBrowser {
public:
    struct Show {
        std::string url;
        bool again = false;
        Clock::time_point at;
        std::string html;
        std::vector<std::string> drawn, failed, missing;
    };
    explicit CacheBrowser(WebPageCache& cache) : cache_(cache) {}

    void ShowPage(const std::string& url, bool again) override {
        Show show;
        show.url = url;
        show.again = again;
        show.at = Clock::now();
        const WebPageCache::Entry* page = cache_.Use(url);
        ASSERT_TRUE(page && page->ok) << url;
        show.html = page->bytes;
        for (std::size_t at = 0; (at = show.html.find(" src=\"", at)) != std::string::npos;) {
            at += 6;
            const std::string picture = show.html.substr(at, show.html.find('"', at) - at);
            const WebPageCache::Entry* entry = cache_.Use(picture);
            if (!entry)
                cache_.NoteMissing(picture);
            (entry ? entry->ok ? show.drawn : show.failed : show.missing).push_back(picture);
        }
        shows.push_back(std::move(show));
    }
    void PageFailed(const std::string& url, const std::string& why) override {
        failures.emplace_back(url, why);
    }

    std::vector<Show> shows;
    std::vector<std::pair<std::string, std::string>> failures;

private:
    WebPageCache& cache_;
};

// The loader with the web host at the loopback server.
class AdPaneLoaderTest : public ::testing::Test {
protected:
    static constexpr DWORD kDeadlineMs = 1500;

    AdPaneLoaderTest() { profile_.WriteProfileString("Settings", "WebBase", server_.Url("/")); }

    void AddPage(const std::string& path, const std::string& body) {
        TestHttpServer::Route route;
        route.body = "<html><head><title>Page</title><script>alert(1)</script></head><body>" +
                     body + "</body></html>";
        route.headers = {{"Content-Type", "text/html; charset=utf-8"}};
        server_.Add(path, route);
    }
    // ImageMagick draws the pictures.
    void AddPicture(const std::string& path, const std::string& drawing, int delayMs = 0) {
        const std::string name = (folder_.Path() / path.substr(path.rfind('/') + 1)).string();
        EXPECT_EQ(std::system(("convert " + drawing + " " + name).c_str()), 0) << drawing;
        TestHttpServer::Route route;
        route.body = ReadFileText(name);
        route.delayMs = delayMs;
        server_.Add(path, route);
    }
    long Asked(const std::string& path) const {
        const auto requests = server_.Requests();
        return std::count_if(requests.begin(), requests.end(),
                             [&](const auto& r) { return r.path == path; });
    }
    std::string Url(const std::string& path) const { return server_.Url(path); }

    TestHttpServer server_;
    TempFolder folder_{"pane-loader"};
    CProfile profile_{(folder_.Path() / "profile.ini").string()};
    FetchService fetches_{WebEndpoint(profile_)};
    WebPageCache cache_;
    CacheBrowser browser_{cache_};
    AdPaneLoader loader_{fetches_, cache_, browser_, kDeadlineMs};
};

using Urls = std::vector<std::string>;

} // namespace

TEST_F(AdPaneLoaderTest, APageShowsAtOnceAndOnceMoreWithItsPicturesWhichStayForItsNextTurn) {
    AddPage("/info", "<p>News</p><img src=\"pic/red.png\"><img src=\"/pic/blue.gif\">"
                     "<img src=\"pic/gone.png\">");
    AddPicture("/pic/red.png", "-size 12x8 xc:red");
    AddPicture("/pic/blue.gif", "-size 5x7 xc:blue");
    const Urls pictures{Url("/pic/red.png"), Url("/pic/blue.gif"), Url("/pic/gone.png")};

    loader_.Load(Url("/info"));
    ASSERT_TRUE(RunUntilIdle(fetches_));
    ASSERT_TRUE(browser_.failures.empty()) << browser_.failures[0].second;
    ASSERT_EQ(browser_.shows.size(), 2u);
    // The prepared page shows before any picture is in, its pictures made whole.
    const CacheBrowser::Show& first = browser_.shows[0];
    EXPECT_FALSE(first.again);
    EXPECT_EQ(first.url, Url("/info"));
    EXPECT_EQ(first.html.find("<script"), std::string::npos) << first.html;
    EXPECT_EQ(first.missing, pictures);
    // Once the last is in, failed or not, it shows again and finds all of them.
    const CacheBrowser::Show& second = browser_.shows[1];
    EXPECT_TRUE(second.again);
    EXPECT_EQ(second.drawn, Urls(pictures.begin(), pictures.begin() + 2));
    EXPECT_EQ(second.failed, Urls{pictures[2]});
    EXPECT_TRUE(second.missing.empty());
    PanePicture::Pixels pixels;
    ASSERT_TRUE(PanePicture::Read(cache_.Find(pictures[0])->bytes, pixels));
    EXPECT_EQ(pixels.width, 12u);
    EXPECT_EQ(pixels.height, 8u);
    ASSERT_TRUE(PanePicture::Read(cache_.Find(pictures[1])->bytes, pixels));
    EXPECT_EQ(pixels.width, 5u);
    EXPECT_EQ(pixels.rgba[2], 255);

    // The shown page and its pictures outlast a cache full of others, so its next turn
    // fetches only the page and needs no second show.
    EXPECT_EQ(loader_.Page(), Url("/info"));
    for (std::size_t i = 0; i < 2 * WebPageCache::kMaxEntries; ++i)
        cache_.Put(Url("/other/" + std::to_string(i)), {true, "x", "text/html"});
    loader_.Load(Url("/info"));
    ASSERT_TRUE(RunUntilIdle(fetches_));
    ASSERT_EQ(browser_.shows.size(), 3u);
    EXPECT_FALSE(browser_.shows[2].again);
    EXPECT_EQ(browser_.shows[2].drawn.size(), 2u);
    EXPECT_TRUE(browser_.shows[2].missing.empty());
    EXPECT_EQ(Asked("/info"), 2);
    for (const std::string path : {"/pic/red.png", "/pic/blue.gif", "/pic/gone.png"})
        EXPECT_EQ(Asked(path), 1) << path;

    // A page of the window's own lets the web page go.
    loader_.Leave();
    EXPECT_TRUE(loader_.Page().empty());
    EXPECT_FALSE(cache_.Pinned(Url("/info")));
    EXPECT_FALSE(cache_.Pinned(pictures[0]));
}

TEST_F(AdPaneLoaderTest, APictureThatNeverComesEndsAtTheDeadlineAndOneLeftBehindShowsNothing) {
    AddPage("/hang", "<p>Hanging</p><img src=\"pic/hang.png\">");
    AddPicture("/pic/hang.png", "-size 4x4 xc:green", 60000);
    loader_.Load(Url("/hang"));
    ASSERT_TRUE(RunUntilIdle(fetches_, 20000));
    ASSERT_EQ(browser_.shows.size(), 2u);
    EXPECT_EQ(browser_.shows[0].missing, Urls{Url("/pic/hang.png")});
    // The page showed at once; the deadline, not the host, ended the wait for its picture.
    EXPECT_GE(browser_.shows[1].at - browser_.shows[0].at,
              std::chrono::milliseconds(kDeadlineMs - 100));
    EXPECT_TRUE(browser_.shows[1].again);
    EXPECT_EQ(browser_.shows[1].failed, Urls{Url("/pic/hang.png")});

    // Another page whose picture hangs, left for one of the window's own: its picture is
    // dropped and the page it belonged to never shows again.
    AddPage("/hang2", "<p>Hanging too</p><img src=\"pic/hang2.png\">");
    AddPicture("/pic/hang2.png", "-size 4x4 xc:green", 60000);
    loader_.Load(Url("/hang2"));
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end && Asked("/pic/hang2.png") == 0)
        MainThread::RunPending();
    ASSERT_EQ(Asked("/pic/hang2.png"), 1);
    ASSERT_EQ(browser_.shows.size(), 3u);
    loader_.Leave();
    ASSERT_TRUE(RunUntilIdle(fetches_, 20000));
    EXPECT_EQ(browser_.shows.size(), 3u);
    EXPECT_EQ(cache_.Find(Url("/pic/hang2.png")), nullptr);
    EXPECT_TRUE(browser_.failures.empty());
}

TEST_F(AdPaneLoaderTest, PagesThatFailOrAreOvertakenLeaveTheShownPageInPlace) {
    AddPage("/info", "<p>News</p>");
    loader_.Load(Url("/info"));
    ASSERT_TRUE(RunUntilIdle(fetches_));
    ASSERT_EQ(browser_.shows.size(), 1u);

    TestHttpServer::Route picture;
    picture.body = "\x89PNG not a page";
    picture.headers = {{"Content-Type", "image/png"}};
    server_.Add("/picture", picture);
    server_.Add("/empty", {});
    TestHttpServer::Route slow;
    slow.delayMs = 60000;
    server_.Add("/slow", slow);
    AddPage("/next", "<p>Next</p>");
    for (const std::string path : {"/missing", "/picture", "/empty"}) {
        loader_.Load(Url(path));
        ASSERT_TRUE(RunUntilIdle(fetches_)) << path;
    }
    ASSERT_EQ(browser_.failures.size(), 3u);
    EXPECT_EQ(browser_.failures[0].first, Url("/missing"));
    EXPECT_NE(browser_.failures[0].second.find("404"), std::string::npos);
    EXPECT_NE(browser_.failures[1].second.find("image/png, not a page"), std::string::npos)
        << browser_.failures[1].second;
    EXPECT_FALSE(browser_.failures[2].second.empty());
    // Failed pages take nothing from the page shown.
    EXPECT_EQ(browser_.shows.size(), 1u);
    EXPECT_EQ(loader_.Page(), Url("/info"));
    EXPECT_TRUE(cache_.Pinned(Url("/info")));
    EXPECT_EQ(cache_.Find(Url("/missing")), nullptr);

    // A page on its way gives way to the next one asked for.
    loader_.Load(Url("/slow"));
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end && Asked("/slow") == 0)
        MainThread::RunPending();
    loader_.Load(Url("/next"));
    ASSERT_TRUE(RunUntilIdle(fetches_));
    // The overtaken page neither showed nor failed.
    EXPECT_EQ(browser_.failures.size(), 3u);
    ASSERT_EQ(browser_.shows.size(), 2u);
    EXPECT_EQ(browser_.shows[1].url, Url("/next"));
    EXPECT_EQ(loader_.Page(), Url("/next"));
    EXPECT_FALSE(cache_.Pinned(Url("/info")));
}
