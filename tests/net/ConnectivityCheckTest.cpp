#include "net/CConnectivityCheck.h"
#include "net/IHostProbe.h"
#include "net/INetState.h"
#include "net/InterfaceNetState.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class FakeProbe : public IHostProbe {
public:
    bool Answers(const std::string& host) override {
        asked.push_back(host);
        return answering.count(host) > 0;
    }
    std::set<std::string> answering;
    std::vector<std::string> asked;
};

class FakeNet : public INetState {
public:
    bool Connected(DWORD& flags) override {
        flags = up ? kConnectionLan : 0;
        return up;
    }
    bool up = true;
};

const std::vector<std::string> kHosts = {"127.0.0.1", "127.0.0.2", "127.0.0.3",
                                         "127.0.0.4", "127.0.0.5", "127.0.0.6"};

} // namespace

TEST(ConnectivityCheck, SilentHostsAreAskedAgainOnlyEveryEleventhCallOrWhenForced) {
    FakeNet net;
    FakeProbe probe;
    CConnectivityCheck check(net, probe, kHosts);
    EXPECT_EQ(check.Reachable(), -1);

    EXPECT_FALSE(check.IsConnected(0));
    EXPECT_EQ(probe.asked, kHosts);
    EXPECT_EQ(check.Reachable(), 0);
    for (int call = 2; call <= 11; ++call) {
        probe.asked.clear();
        EXPECT_FALSE(check.IsConnected(0)) << call;
        EXPECT_TRUE(probe.asked.empty()) << call;
    }
    probe.asked.clear();
    probe.answering = {"127.0.0.4"};
    EXPECT_TRUE(check.IsConnected(0)); // call 12
    EXPECT_EQ(probe.asked.size(), 4u);
    EXPECT_EQ(check.Reachable(), 1);
    EXPECT_TRUE(check.Connected());
    EXPECT_EQ(check.StateFlags(), INetState::kConnectionLan);

    // Silent again: one failed round, then a forced check asks at once and restarts the count.
    probe.answering.clear();
    EXPECT_FALSE(check.IsConnected(0));
    probe.asked.clear();
    EXPECT_FALSE(check.IsConnected(0));
    EXPECT_TRUE(probe.asked.empty());
    probe.answering = {"127.0.0.1"};
    EXPECT_TRUE(check.IsConnected(1));
    EXPECT_EQ(probe.asked, std::vector<std::string>{"127.0.0.1"});
}

TEST(ConnectivityCheck, AnsweringHostsAreAskedEveryCallUntilTheFirstAnswer) {
    FakeNet net;
    FakeProbe probe;
    probe.answering = {"127.0.0.2", "127.0.0.5"};
    CConnectivityCheck check(net, probe, kHosts);
    for (int call = 1; call <= 25; ++call) {
        probe.asked.clear();
        EXPECT_TRUE(check.IsConnected(0)) << call;
        EXPECT_EQ(probe.asked, (std::vector<std::string>{"127.0.0.1", "127.0.0.2"})) << call;
    }
    // A system without a way out is offline without asking, unless forced.
    net.up = false;
    probe.asked.clear();
    EXPECT_FALSE(check.IsConnected(0));
    EXPECT_TRUE(probe.asked.empty());
    EXPECT_TRUE(check.IsConnected(1));
    EXPECT_EQ(probe.asked.size(), 2u);
}

TEST(ConnectivityCheck, LoopbackProbeHostsNeedNoInterface) {
    EXPECT_TRUE(InterfaceNetState::IsLoopback("127.0.0.1"));
    EXPECT_TRUE(InterfaceNetState::IsLoopback("127.255.0.9"));
    EXPECT_TRUE(InterfaceNetState::IsLoopback("::1"));
    EXPECT_FALSE(InterfaceNetState::IsLoopback("128.0.0.1"));
    EXPECT_FALSE(InterfaceNetState::IsLoopback("www.orlimber.example"));
    DWORD flags = 0;
    InterfaceNetState loopbackOnly({"127.0.0.1", "::1"});
    EXPECT_TRUE(loopbackOnly.Connected(flags));
}
