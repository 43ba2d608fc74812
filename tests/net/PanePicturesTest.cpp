#include "net/CIcmpEcho.h"
#include "net/EchoHostProbe.h"
#include "net/FetchCancel.h"
#include "net/FetchService.h"
#include "net/PanePicture.h"
#include "net/PanePictureQueue.h"
#include "net/WebPageCache.h"
#include "platform/CProfile.h"
#include "tests/support/ChildMemory.h"
#include "tests/support/FileText.h"
#include "tests/support/MainQueue.h"
#include "tests/support/PngBomb.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <span>
#include <sstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::span<const BYTE> Bytes(const std::string& s) {
    return {reinterpret_cast<const BYTE*>(s.data()), s.size()};
}

// ImageMagick draws the fixtures and, for the scaled picture, the expected pixels.
std::string Convert(TempFolder& folder, const std::string& arguments, const std::string& name) {
    const std::string path = (folder.Path() / name).string();
    EXPECT_EQ(std::system(("convert " + arguments + " " + path).c_str()), 0) << arguments;
    return ReadFileText(path);
}

} // namespace

TEST(PanePictureTest, LargePicturesAreScaledAsABoxFilterWouldAndHostileOnesAreRefused) {
    TempFolder folder("pane-picture");
    // 2048 x 2048 is 4 Mpixels: the pane draws a quarter of them, each the mean of 2 x 2.
    const std::string drawing = "-size 2048x2048 gradient:red-blue -fill '#30a050' -draw "
                                "'rectangle 101,99 900,1501' -fill white -draw "
                                "'circle 1500,600 1500,900'";
    const std::string png = Convert(folder, drawing, "big.png");
    const std::string expected = Convert(
        folder, "png:" + (folder.Path() / "big.png").string() + " -scale 1024x1024 -depth 8",
        "expected.rgb");
    ASSERT_EQ(expected.size(), 1024u * 1024 * 3);
    std::string error;
    const std::string prepared = PanePicture::Prepare(Bytes(png), nullptr, error);
    PanePicture::Pixels pixels;
    ASSERT_TRUE(PanePicture::Read(prepared, pixels)) << error;
    ASSERT_EQ(pixels.width, 1024u);
    ASSERT_EQ(pixels.height, 1024u);
    int worst = 0;
    for (std::size_t i = 0; i < 1024u * 1024; ++i) {
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(int(pixels.rgba[4 * i + c]) -
                                             int(BYTE(expected[3 * i + std::size_t(c)]))));
        ASSERT_EQ(pixels.rgba[4 * i + 3], 255) << i;
    }
    EXPECT_LE(worst, 1);

    // A transparent GIF entry stays transparent; a small picture keeps its size.
    const std::string gif = Convert(
        folder, "-size 6x4 xc:red -fill blue -draw 'point 2,1' -transparent blue", "clear.gif");
    const std::string small = PanePicture::Prepare(Bytes(gif), nullptr, error);
    ASSERT_TRUE(PanePicture::Read(small, pixels)) << error;
    ASSERT_EQ(pixels.width, 6u);
    EXPECT_EQ(pixels.rgba[4 * (1 * 6 + 2) + 3], 0);
    EXPECT_EQ(pixels.rgba[4 * (1 * 6 + 3) + 3], 255);
    EXPECT_EQ(pixels.rgba[4 * (1 * 6 + 3) + 0], 255);

    // A 48 KB file that declares 20000 x 20000 is refused from its header, taking next to
    // no memory; so is any picture past the pane's size.
    const std::string bomb = PngBomb::Make(20000, 20000);
    EXPECT_LT(bomb.size(), 64u * 1024);
    const auto refuse = [&](std::string& text) {
        return PanePicture::Prepare(Bytes(bomb), nullptr, text).empty();
    };
#if defined(__SANITIZE_THREAD__)
    // A forked child of a threaded process cannot run under ThreadSanitizer.
    ChildOutcome refused;
    refused.ok = refuse(refused.text);
    refused.addedKb = 0;
#else
    const ChildOutcome refused = RunInChild(refuse);
#endif
    EXPECT_TRUE(refused.ok);
    EXPECT_NE(refused.text.find("20000 x 20000"), std::string::npos) << refused.text;
    EXPECT_GE(refused.addedKb, 0);
    EXPECT_LT(refused.addedKb, 20 * 1024);
    const std::string largest =
        PanePicture::Prepare(Bytes(PngBomb::Make(4096, 2048)), nullptr, error);
    ASSERT_TRUE(PanePicture::Read(largest, pixels)) << error;
    EXPECT_EQ(pixels.width, 1448u);
    EXPECT_EQ(pixels.height, 724u);
    EXPECT_TRUE(PanePicture::Prepare(Bytes(PngBomb::Make(4097, 2049)), nullptr, error).empty());
    EXPECT_NE(error.find("4097 x 2049"), std::string::npos) << error;

    // Formats no web page uses are not read at all.
    const std::string tiff = Convert(folder, "-size 4x4 xc:red", "red.tif");
    EXPECT_TRUE(PanePicture::Prepare(Bytes(tiff), nullptr, error).empty());
    EXPECT_NE(error.find("only"), std::string::npos) << error;

    // A cancelled transfer's picture stops; empty and junk answers give nothing.
    FetchCancel cancel;
    cancel.Cancel();
    EXPECT_TRUE(PanePicture::Prepare(Bytes(png), &cancel, error).empty());
    EXPECT_EQ(error, "Cancelled");
    EXPECT_TRUE(PanePicture::Prepare({}, nullptr, error).empty());
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(PanePicture::Prepare(Bytes(std::string(300, 'x')), nullptr, error).empty());
    EXPECT_FALSE(PanePicture::Read(prepared.substr(0, prepared.size() - 1), pixels));
    EXPECT_FALSE(PanePicture::Read(png, pixels));
}

TEST(PanePictureQueueTest, ThousandsOfPicturesTakeFourTransfersAtOnceAndAPageFull) {
    TempFolder folder("pane-queue");
    TestHttpServer host;
    TestHttpServer::Route picture;
    picture.body = Convert(folder, "-size 8x8 xc:green", "p.png");
    picture.headers = {{"Content-Type", "image/png"}};
    picture.delayMs = 20;
    host.Add("/pic/*", picture);
    CProfile profile((folder.Path() / "profile.ini").string());
    profile.WriteProfileString("Settings", "WebBase", host.Url("/"));
    FetchService fetches{WebEndpoint(profile)};
    std::map<std::string, WebPageCache::Entry> arrived;
    int allIn = 0;
    PanePictureQueue queue(
        fetches,
        [&](const std::string& url, WebPageCache::Entry entry) {
            EXPECT_TRUE(arrived.emplace(url, std::move(entry)).second) << url;
        },
        [&] { ++allIn; });
    std::vector<std::string> page;
    for (int i = 0; i < 2000; ++i)
        page.push_back(host.Url("/pic/" + std::to_string(i) + ".png"));
    queue.Add(page);
    ASSERT_TRUE(RunUntilIdle(fetches));
    EXPECT_TRUE(queue.Idle());
    EXPECT_EQ(host.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage));
    EXPECT_LE(host.MostAtOnce(), 4);
    EXPECT_GE(host.MostAtOnce(), 2);
    EXPECT_EQ(allIn, 1);
    ASSERT_EQ(arrived.size(), page.size());
    std::size_t drawn = 0;
    for (const auto& [url, entry] : arrived) {
        PanePicture::Pixels pixels;
        if (!entry.ok)
            continue;
        ++drawn;
        ASSERT_TRUE(PanePicture::Read(entry.bytes, pixels)) << url;
        EXPECT_EQ(pixels.width, 8u);
        EXPECT_EQ(entry.mimeType, PanePicture::kMimeType);
    }
    EXPECT_EQ(drawn, PanePictureQueue::kMaxPerPage);

    // The same page asks again: nothing new is fetched. Another page starts afresh.
    queue.Add(page);
    ASSERT_TRUE(RunUntilIdle(fetches));
    EXPECT_EQ(host.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage));
    queue.StartPage();
    queue.Add({host.Url("/pic/other.png")});
    ASSERT_TRUE(RunUntilIdle(fetches));
    EXPECT_EQ(host.Asked("/pic/"), int(PanePictureQueue::kMaxPerPage) + 1);
}

TEST(WebPageCacheTest, TheShownPageKeepsItselfAndItsPicturesUntilAnotherIsShown) {
    WebPageCache cache;
    const std::string page = "http://host/page";
    cache.Pin(page);
    cache.Put(page, {true, "<html></html>", "text/html"});
    const auto picture = [](int i) { return "http://host/p" + std::to_string(i); };
    const auto other = [](int i) { return "http://host/o" + std::to_string(i); };
    for (int i = 0; i < 100; ++i) {
        // The window asks while it lays the page out, and the picture comes later.
        EXPECT_EQ(cache.Use(picture(i)), nullptr);
        cache.NoteMissing(picture(i));
    }
    EXPECT_EQ(cache.TakeMissing().size(), 100u);
    for (int i = 0; i < 100; ++i)
        cache.Put(picture(i), {true, std::string(100 * 1024, 'p'), ""});
    for (int i = 0; i < 300; ++i)
        cache.Put(other(i), {true, std::string(64 * 1024, 'o'), ""});
    ASSERT_NE(cache.Find(page), nullptr);
    for (int i = 0; i < 100; ++i)
        ASSERT_NE(cache.Find(picture(i)), nullptr) << i;
    int others = 0;
    for (int i = 0; i < 300; ++i)
        others += cache.Find(other(i)) != nullptr;
    EXPECT_GT(others, 0);
    EXPECT_LE(std::size_t(others), WebPageCache::kMaxEntries);

    // Once another page shows, the first one's pictures take their turn to go.
    cache.Pin("http://host/next");
    for (int i = 0; i < 300; ++i)
        cache.Put(other(i), {true, std::string(64 * 1024, 'o'), ""});
    int kept = 0;
    for (int i = 0; i < 100; ++i)
        kept += cache.Find(picture(i)) != nullptr;
    EXPECT_EQ(kept, 0);
    EXPECT_EQ(cache.Find(page), nullptr);
}

namespace {

// A listener that takes no connection: once its queue is full, a connection attempt hangs
// (the host drops the handshake) until the client gives up.
class FullListener {
public:
    FullListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 0);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &length);
        port_ = ntohs(addr.sin_port);
        for (int i = 0; i < 3; ++i) {
            fillers_.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            ::connect(fillers_.back(), reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~FullListener() {
        for (int f : fillers_)
            ::close(f);
        ::close(fd_);
    }
    WORD Port() const { return WORD(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

} // namespace

TEST(ProbeStopTest, AHangingProbeEndsAsSoonAsTheProgramEnds) {
    FullListener listener;
    // Without a stop the probe waits its whole time.
    auto start = Clock::now();
    EXPECT_FALSE(EchoHostProbe::Connects("127.0.0.1", listener.Port(), 300));
    EXPECT_GE(MsSince(start), 250);

    // Six hosts that never answer would hold a check for three seconds: the service closes
    // as soon as the probe hears it must stop.
    CIcmpEcho noEcho(0);
    EchoHostProbe probe(noEcho, listener.Port());
    TempFolder folder("probe-stop");
    CProfile profile((folder.Path() / "profile.ini").string());
    FetchService fetches{WebEndpoint(profile)};
    std::atomic<int> probed{0};
    fetches.Run({}, [&](FetchService::Worker&) {
        for (int i = 0; i < 6; ++i) {
            ++probed;
            if (probe.Answers("127.0.0.1"))
                break;
        }
        return MainThread::Task{};
    });
    while (probed == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    start = Clock::now();
    probe.Stop();
    fetches.Close();
    EXPECT_LT(MsSince(start), 1000);
}
