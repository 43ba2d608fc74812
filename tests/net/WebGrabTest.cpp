#include "net/CWebGrab.h"
#include "net/CWebGrabSession.h"
#include "net/IStatusWindow.h"
#include "net/WebEndpoint.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class RecordingStatus : public IStatusWindow {
public:
    void ShowText(const std::string& text) override { texts.push_back(text); }
    bool Saw(const std::string& text) const {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    std::vector<std::string> texts;
};

std::string Hop(int i) {
    return "/hop" + std::to_string(i);
}

// A chain of `redirects` redirects ending in a page.
void AddChain(TestHttpServer& server, const std::string& name, int redirects) {
    for (int i = 0; i < redirects; ++i)
        server.AddRedirect("/" + name + Hop(i), server.Url("/" + name + Hop(i + 1)));
    TestHttpServer::Route end;
    end.body = "end of " + name;
    server.Add("/" + name + Hop(redirects), end);
}

// A loopback port nobody listens on.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
    ::close(fd);
    return ntohs(addr.sin_port);
}

} // namespace

TEST(WebGrab, PagesComeBackAsExactBytesWhateverTheirStatus) {
    TestHttpServer server;
    TestHttpServer::Route page;
    for (unsigned i = 0; i < 300000; ++i)
        page.body += static_cast<char>((i * 7919 + i / 251) & 0xFF);
    page.body.insert(0, std::string("\0\0head\0", 7));
    page.headers.push_back({"X-Marker", "one"});
    server.Add("/bytes", page);
    TestHttpServer::Route missing;
    missing.status = 404;
    missing.body = std::string("gone\0away", 9);
    server.Add("/missing", missing);

    CWebGrab grab;
    RecordingStatus status;
    std::string result = "stale";
    ASSERT_TRUE(grab.GetPage(server.Url("/bytes"), result, kWebAgent, &status))
        << grab.GetErrorMessage();
    EXPECT_EQ(result, page.body);
    EXPECT_EQ(grab.GetHttpStatus(), 200u);
    EXPECT_NE(grab.GetRawHeaders().find("X-Marker: one"), std::string::npos);
    EXPECT_TRUE(status.Saw("Connecting to socket address "));
    EXPECT_TRUE(status.Saw("Request sent"));
    EXPECT_TRUE(status.Saw("Response received"));
    ASSERT_FALSE(status.texts.empty());
    EXPECT_EQ(status.texts.back(), "");

    // The same fetcher again: an error page is an answer, with its own headers only.
    ASSERT_TRUE(grab.GetPage(server.Url("/missing"), result, kWebAgent));
    EXPECT_EQ(grab.GetHttpStatus(), 404u);
    EXPECT_EQ(result, missing.body);
    EXPECT_EQ(grab.GetRawHeaders().rfind("HTTP/1.1 404", 0), 0u);
    EXPECT_EQ(grab.GetRawHeaders().find("X-Marker"), std::string::npos);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& r : requests) {
        EXPECT_EQ(r.method, "GET");
        EXPECT_NE(r.head.find("\r\nUser-Agent: ORLIMBER-QV364\r\n"), std::string::npos) << r.head;
    }
}

TEST(WebGrab, HeaderQueriesReportFieldsAndRefuseErrorStatus) {
    TestHttpServer server;
    TestHttpServer::Route page;
    page.body = std::string(1234, 'x');
    page.headers.push_back({"last-modified", "Tue, 01 Dec 2026 10:00:00 GMT"});
    server.Add("/file", page);

    CWebGrab grab;
    std::string modified;
    std::uint64_t length = 99;
    DWORD status = 0;
    ASSERT_TRUE(grab.GetHeaderInfo(server.Url("/file"), modified, length, status, kWebAgent));
    EXPECT_EQ(modified, "Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(length, 1234u);
    EXPECT_EQ(status, 200u);

    EXPECT_FALSE(grab.GetHeaderInfo(server.Url("/nothing"), modified, length, status, kWebAgent));
    EXPECT_EQ(status, 404u);
    EXPECT_EQ(modified, "");

    // A header query leaves no trace on the next full fetch.
    std::string result;
    ASSERT_TRUE(grab.GetPage(server.Url("/file"), result, kWebAgent));
    EXPECT_EQ(result, page.body);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].method, "HEAD");
    EXPECT_EQ(requests[2].method, "GET");
}

TEST(WebGrab, RedirectsAreBoundedAndStayOnTheWeb) {
    TestHttpServer server;
    AddChain(server, "ten", 10);
    AddChain(server, "eleven", 11);
    server.AddRedirect("/ftp", "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/x");
    server.AddRedirect("/file", "file:///etc/passwd");

    CWebGrab grab;
    std::string result;
    ASSERT_TRUE(grab.GetPage(server.Url("/ten/hop0"), result, kWebAgent)) << grab.GetErrorMessage();
    EXPECT_EQ(result, "end of ten");
    EXPECT_EQ(grab.GetHttpStatus(), 200u);
    EXPECT_EQ(grab.GetRawHeaders().find("Location"), std::string::npos);

    for (const char* refused : {"/eleven/hop0", "/ftp", "/file"}) {
        result = "stale";
        EXPECT_FALSE(grab.GetPage(server.Url(refused), result, kWebAgent)) << refused;
        EXPECT_EQ(result, "");
        EXPECT_EQ(grab.GetHttpStatus(), 0u);
        EXPECT_FALSE(grab.GetErrorMessage().empty());
        EXPECT_LE(grab.GetErrorMessage().size(), CWebGrab::kMaxErrorLength);
        EXPECT_EQ(grab.GetStatusText(), grab.GetErrorMessage());
    }
    const auto requests = server.Requests();
    EXPECT_EQ(requests.size(), 11u + 11u + 1u + 1u);
    for (const auto& r : requests)
        EXPECT_NE(r.path, "/eleven/hop11");

    EXPECT_FALSE(
        grab.GetPage("ftp://127.0.0.1:" + std::to_string(server.Port()) + "/", result, kWebAgent));
}

TEST(WebGrab, StallsLongBodiesAndDeadPortsFailWithAText) {
    TestHttpServer server;
    TestHttpServer::Route slow;
    slow.delayMs = 20000;
    slow.body = "late";
    server.Add("/slow", slow);
    TestHttpServer::Route big;
    big.body = std::string(5000, 'b');
    server.Add("/big", big);
    big.sendLength = false;
    server.Add("/big-unsized", big);
    TestHttpServer::Route fits;
    fits.body = std::string(1000, 'f');
    server.Add("/fits", fits);

    CWebGrab grab;
    std::string result;
    grab.SetTimeout(1000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(grab.GetPage(server.Url("/slow"), result, kWebAgent));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(grab.GetErrorMessage().empty());

    grab.SetMaxBody(1000);
    for (const char* path : {"/big", "/big-unsized"}) {
        result = "stale";
        EXPECT_FALSE(grab.GetPage(server.Url(path), result, kWebAgent)) << path;
        EXPECT_EQ(result, "");
        EXPECT_EQ(grab.GetErrorMessage(), "Maximum file size exceeded") << path;
    }
    EXPECT_TRUE(grab.GetPage(server.Url("/fits"), result, kWebAgent));
    EXPECT_EQ(result, fits.body);

    const std::string dead = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/";
    EXPECT_FALSE(grab.GetPage(dead, result, kWebAgent));
    EXPECT_NE(grab.GetErrorMessage().find("onnect"), std::string::npos) << grab.GetErrorMessage();
}

TEST(WebGrab, StatusTextsFollowTheEventTable) {
    using S = CWebGrabSession;
    EXPECT_EQ(S::StatusText(S::kResolvingName, "example", nullptr, 0),
              "Resolving name for example");
    EXPECT_EQ(S::StatusText(S::kReceivingResponse, "", nullptr, 0), std::nullopt);
    EXPECT_EQ(S::StatusText(S::kHandleCreated, "", nullptr, 0), "");
    const DWORD result[2] = {0x1A, 0xDEADBEEF};
    EXPECT_EQ(S::StatusText(S::kRequestComplete, "", result, sizeof result),
              "Request complete, dwResult = 0000001A, dwError = DEADBEEF");
    EXPECT_EQ(S::StatusText(S::kRequestComplete, "", result, 4), "Request complete");
    EXPECT_EQ(S::StatusText(77, "", nullptr, 0), "Unknown status: 77");

    RecordingStatus window;
    S session(kWebAgent, &window);
    session.ShowStatus("%s", std::string(2000, 'z').c_str());
    EXPECT_EQ(session.LastStatus(), std::string(S::kMaxStatusLength, 'z'));
    EXPECT_EQ(window.texts.back(), session.LastStatus());
}

TEST(WebGrab, LoopbackSkipsTheProxyAndReloadAsksPastCaches) {
    TestHttpServer server;
    TestHttpServer::Route page;
    page.body = "fresh";
    server.Add("/page", page);

    CWebGrab grab;
    grab.SetProxy("127.0.0.1", static_cast<WORD>(ClosedPort()));
    grab.SetForceReload(true);
    std::string result;
    ASSERT_TRUE(grab.GetPage(server.Url("/page"), result, kWebAgent)) << grab.GetErrorMessage();
    EXPECT_EQ(result, "fresh");
    grab.SetForceReload(false);
    ASSERT_TRUE(grab.GetPage(server.Url("/page"), result, kWebAgent));

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, "/page"); // asked directly, not in a proxy's absolute form
    EXPECT_NE(requests[0].head.find("\r\nCache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_EQ(requests[1].head.find("no-cache"), std::string::npos);
}
