#include "net/WebEndpoint.h"
#include "net/CConnectivityCheck.h"
#include "net/CIcmpEcho.h"
#include "net/CWebGrab.h"
#include "net/EchoHostProbe.h"
#include "net/InterfaceNetState.h"
#include "net/UrlCleaner.h"
#include "platform/CProfile.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

class WebEndpointTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("orlimber-web-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        profile_ = std::make_unique<CProfile>((dir_ / "OrlimberSTD.ini").string());
    }
    void TearDown() override {
        profile_.reset();
        std::filesystem::remove_all(dir_);
    }
    void Set(const char* entry, const std::string& value) {
        ASSERT_TRUE(profile_->WriteProfileString(WebEndpoint::kSection, entry, value));
    }

    std::filesystem::path dir_;
    std::unique_ptr<CProfile> profile_;
};

} // namespace

TEST_F(WebEndpointTest, HostsComeFromTheProfileWithReservedDefaults) {
    const WebEndpoint unset(*profile_);
    EXPECT_EQ(unset.Base(), "http://www.orlimber.example/");
    EXPECT_EQ(unset.BaseHost(), "www.orlimber.example");
    EXPECT_EQ(unset.BasePort(), 80);
    EXPECT_EQ(unset.ProbeHosts(), std::vector<std::string>{"www.orlimber.example"});
    EXPECT_EQ(unset.RedirectUrl("LOC=info"), "http://www.orlimber.example/redir.php?LOC=info");

    Set("WebBase", "https://[::1]:8443/site");
    Set("ProbeHosts", " 127.0.0.1 ,,127.0.0.2,127.0.0.3,127.0.0.4,127.0.0.5,127.0.0.6,127.0.0.7");
    const WebEndpoint set(*profile_);
    EXPECT_EQ(set.Base(), "https://[::1]:8443/site/");
    EXPECT_EQ(set.BaseHost(), "::1");
    EXPECT_EQ(set.BasePort(), 8443);
    EXPECT_EQ(set.ProbeHosts(), (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.3",
                                                          "127.0.0.4", "127.0.0.5", "127.0.0.6"}));

    for (const char* bad :
         {"ftp://127.0.0.1/", "not a url", "http://127.0.0.1:0/", "http://127.0.0.1:99999/", ""}) {
        Set("WebBase", bad);
        const WebEndpoint refused(*profile_);
        EXPECT_EQ(refused.Base(), WebEndpoint::kDefaultBase) << bad;
    }
}

TEST_F(WebEndpointTest, AddressesAreCleanedWithinTheirLength) {
    std::string out = "untouched";
    ASSERT_TRUE(UrlCleaner::Clean("http:\\\\127.0.0.1\\files\\a maze.wkz", out));
    EXPECT_EQ(out, "http://127.0.0.1/files/a%20maze.wkz");
    const std::string longest = "http://127.0.0.1/" + std::string(UrlCleaner::kMaxLength - 17, 'a');
    ASSERT_TRUE(UrlCleaner::Clean(longest, out));
    EXPECT_EQ(out, longest);
    out = "untouched";
    EXPECT_FALSE(UrlCleaner::Clean(longest + "a", out));
    EXPECT_FALSE(UrlCleaner::Clean(longest.substr(0, UrlCleaner::kMaxLength - 2) + " ", out));
    EXPECT_EQ(out, "untouched");
}

TEST_F(WebEndpointTest, ALoopbackSetupChecksAndAsksTheRedirectEndpoint) {
    TestHttpServer server;
    TestHttpServer::Route version;
    version.body = "QV365\n";
    server.Add("/redir.php?LOC=latestversion&VER=QV364", version);
    Set("WebBase", server.Url("/"));
    Set("ProbeHosts", "127.0.0.1");
    const WebEndpoint endpoint(*profile_);

    CIcmpEcho noEcho(0);
    EchoHostProbe probe(noEcho, endpoint.BasePort());
    InterfaceNetState system(endpoint.ProbeHosts());
    CConnectivityCheck check(system, probe, endpoint.ProbeHosts());
    EXPECT_TRUE(check.IsConnected(0));

    CWebGrab grab;
    std::string answer;
    ASSERT_TRUE(grab.GetPage(endpoint.RedirectUrl("LOC=latestversion&VER=") + kWebVersionCode,
                             answer, kWebAgent));
    EXPECT_EQ(answer, "QV365\n");
}
