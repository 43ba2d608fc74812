#include "net/FetchService.h"
#include "net/CWebGrab.h"
#include "net/FetchCancel.h"
#include "platform/CProfile.h"
#include "tests/support/MainQueue.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A fetch service whose web host is the loopback server.
class FetchServiceTest : public ::testing::Test {
protected:
    FetchServiceTest() {
        profile_.WriteProfileString("Settings", "WebBase", server_.Url("/"));
        fetches_ = std::make_unique<FetchService>(WebEndpoint(profile_));
    }
    // Fetches `path` and plays the event loop until the result is in.
    FetchResult Get(const std::string& path, DWORD deadlineMs = FetchService::kPageDeadlineMs) {
        FetchResult got;
        FetchRequest request;
        request.url = server_.Url(path);
        request.deadlineMs = deadlineMs;
        fetches_->Fetch("test", request, [&](FetchResult& result) { got = result; });
        EXPECT_TRUE(RunUntilIdle(*fetches_));
        return got;
    }

    TestHttpServer server_;
    TempFolder folder_{"fetch-service"};
    CProfile profile_{(folder_.Path() / "profile.ini").string()};
    std::unique_ptr<FetchService> fetches_;
};

} // namespace

TEST_F(FetchServiceTest, HostileHostsEndWithinTheDeadlineAndRedirectsStayOnTheWebHost) {
    // A host that trickles a byte every 100 ms never trips the stall rule; the total
    // deadline ends it.
    TestHttpServer::Route trickle;
    trickle.body = std::string(1000, 't');
    trickle.trickleMs = 100;
    server_.Add("/trickle", trickle);
    const auto start = Clock::now();
    const FetchResult slow = Get("/trickle", 1500);
    EXPECT_FALSE(slow.fetched);
    EXPECT_FALSE(slow.error.empty());
    EXPECT_LT(MsSince(start), 10000);

    // Another port of the same machine, another host, and plain http under an https base
    // are all refused, naming where the redirect led.
    TestHttpServer other;
    other.Add("/x", TestHttpServer::Route{});
    server_.AddRedirect("/port", other.Url("/x"));
    server_.AddRedirect("/host", "http://127.0.0.2:" + std::to_string(server_.Port()) + "/x");
    server_.AddRedirect("/home", server_.Url("/x"));
    server_.Add("/x", TestHttpServer::Route{200, "home", {}});
    for (const char* path : {"/port", "/host"}) {
        const FetchResult refused = Get(path);
        EXPECT_FALSE(refused.fetched) << path;
        EXPECT_NE(refused.error.find("127.0.0."), std::string::npos) << refused.error;
        EXPECT_NE(refused.error.find("refused"), std::string::npos) << refused.error;
    }
    EXPECT_TRUE(other.Requests().empty());
    const FetchResult home = Get("/home");
    EXPECT_TRUE(home.Ok()) << home.error;
    EXPECT_EQ(home.body, "home");

    CProfile secure((folder_.Path() / "secure.ini").string());
    secure.WriteProfileString("Settings", "WebBase", "https://127.0.0.1:8443/");
    const WebEndpoint https(secure);
    EXPECT_TRUE(https.Refusal("https://127.0.0.1:8443/a").empty());
    EXPECT_NE(https.Refusal("http://127.0.0.1:8443/a").find("http://127.0.0.1:8443"),
              std::string::npos);
    EXPECT_FALSE(https.IsOnWebHost("http://127.0.0.1:443/a"));
}

TEST_F(FetchServiceTest, ANewerJobSupersedesAndExitDoesNotWaitForASilentHost) {
    TestHttpServer::Route silent;
    silent.delayMs = 60000;
    server_.Add("/silent", silent);
    server_.Add("/quick", TestHttpServer::Route{200, "quick", {}});

    std::vector<std::string> delivered;
    FetchRequest request;
    request.url = server_.Url("/silent");
    fetches_->Fetch("page", request, [&](FetchResult&) { delivered.push_back("silent"); });
    request.url = server_.Url("/quick");
    fetches_->Fetch("page", request,
                    [&](FetchResult& result) { delivered.push_back(result.body); });
    ASSERT_TRUE(RunUntilIdle(*fetches_));
    EXPECT_EQ(delivered, std::vector<std::string>{"quick"});

    // A transfer that hangs is cancelled at exit: the service goes at once.
    const std::size_t asked = server_.Requests().size();
    request.url = server_.Url("/silent");
    fetches_->Fetch("page", request, [&](FetchResult&) { delivered.push_back("late"); });
    while (server_.Requests().size() == asked)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = Clock::now();
    fetches_.reset();
    EXPECT_LT(MsSince(start), 1000);
    MainThread::RunPending();
    EXPECT_EQ(delivered.size(), 1u);
}

TEST(FetchGuardDeathTest, ATransferOnTheMainThreadEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            MainThread::Mark();
            CWebGrab grab;
            std::string body;
            grab.GetPage("http://127.0.0.1:9/", body, kWebAgent);
        },
        "asked for on the main thread");
}
