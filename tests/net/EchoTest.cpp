#include "net/CIcmpEcho.h"
#include "net/EchoHostProbe.h"
#include "net/IcmpPacket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::uint32_t Ip(const char* text) {
    in_addr a{};
    inet_pton(AF_INET, text, &a);
    return a.s_addr;
}

// An IPv4 header (no options) carrying `icmp`, from `source` to `target`.
std::vector<BYTE> WithIpHeader(const std::vector<BYTE>& icmp, std::uint32_t source,
                               std::uint32_t target) {
    std::vector<BYTE> p(20, 0);
    p[0] = 0x45;
    p[8] = 64;
    p[9] = 1;
    std::memcpy(&p[12], &source, 4);
    std::memcpy(&p[16], &target, 4);
    // Grown and copied into: GCC 12 at -O3 reports a false out-of-bounds copy for an insert.
    p.resize(20 + icmp.size());
    std::copy(icmp.begin(), icmp.end(), p.begin() + 20);
    return p;
}

// Turns a request into the reply an echoing host sends.
std::vector<BYTE> AsReply(std::vector<BYTE> icmp) {
    icmp[0] = 0;
    icmp[2] = icmp[3] = 0;
    const WORD sum = IcmpPacket::Checksum(icmp.data(), icmp.size());
    icmp[2] = static_cast<BYTE>(sum >> 8);
    icmp[3] = static_cast<BYTE>(sum);
    return icmp;
}

std::vector<BYTE> Unreachable(BYTE code, const std::vector<BYTE>& quotedPacket) {
    std::vector<BYTE> icmp(8 + 28, 0);
    icmp[0] = 3;
    icmp[1] = code;
    std::copy(quotedPacket.begin(), quotedPacket.begin() + 28, icmp.begin() + 8);
    const WORD sum = IcmpPacket::Checksum(icmp.data(), icmp.size());
    icmp[2] = static_cast<BYTE>(sum >> 8);
    icmp[3] = static_cast<BYTE>(sum);
    return icmp;
}

IcmpAnswer ParseRaw(const std::vector<BYTE>& p, WORD id, WORD sequence, std::uint32_t target) {
    return IcmpPacket::Parse(p.data(), p.size(), true, id, sequence, target);
}

} // namespace

TEST(IcmpEcho, RepliesAreCheckedByCountStatusSizeAndBytes) {
    const std::string good(32, 'E');
    EXPECT_TRUE(CIcmpEcho::CheckReply(1, IP_SUCCESS, good, 32));
    EXPECT_EQ(CIcmpEcho::LastError(), IP_SUCCESS);

    EXPECT_FALSE(CIcmpEcho::CheckReply(1, IP_SUCCESS, good.substr(1), 32));
    EXPECT_EQ(CIcmpEcho::LastError(), ERROR_UNEXP_NET_ERR);
    for (std::size_t at : {0u, 17u, 31u}) {
        std::string bad = good;
        bad[at] = 'F';
        CIcmpEcho::SetLastError(IP_SUCCESS);
        EXPECT_FALSE(CIcmpEcho::CheckReply(1, IP_SUCCESS, bad, 32)) << at;
        EXPECT_EQ(CIcmpEcho::LastError(), ERROR_UNEXP_NET_ERR);
    }
    EXPECT_FALSE(CIcmpEcho::CheckReply(1, IP_DEST_HOST_UNREACHABLE, good, 32));
    EXPECT_EQ(CIcmpEcho::LastError(), IP_DEST_HOST_UNREACHABLE);
    EXPECT_FALSE(CIcmpEcho::CheckReply(0, IP_SUCCESS, good, 32));
    EXPECT_EQ(CIcmpEcho::LastError(), IP_REQ_TIMED_OUT);
    EXPECT_FALSE(CIcmpEcho::CheckReply(2, IP_SUCCESS, good, 32));
    EXPECT_EQ(CIcmpEcho::LastError(), ERROR_UNEXP_NET_ERR);
}

TEST(IcmpEcho, ReceivedDatagramsMustAnswerOurRequest) {
    const std::uint32_t target = Ip("10.1.2.3");
    const std::uint32_t us = Ip("10.9.9.9");
    const auto request = IcmpPacket::EchoRequest(0x1234, 7, 32);
    ASSERT_EQ(request.size(), 40u);
    EXPECT_EQ(IcmpPacket::Checksum(request.data(), request.size()), 0);
    const auto reply = WithIpHeader(AsReply(request), target, us);

    const IcmpAnswer a = ParseRaw(reply, 0x1234, 7, target);
    EXPECT_EQ(a.kind, IcmpAnswer::Reply);
    EXPECT_EQ(a.data, std::string(32, 'E'));
    EXPECT_EQ(a.source, target);
    // A datagram socket hands the ICMP part only, and the kernel chose the id.
    const auto bare = AsReply(IcmpPacket::EchoRequest(999, 7, 32));
    EXPECT_EQ(IcmpPacket::Parse(bare.data(), bare.size(), false, std::nullopt, 7, 0).kind,
              IcmpAnswer::Reply);

    EXPECT_EQ(ParseRaw(reply, 0x1235, 7, target).kind, IcmpAnswer::Unrelated);
    EXPECT_EQ(ParseRaw(reply, 0x1234, 8, target).kind, IcmpAnswer::Unrelated);
    EXPECT_EQ(ParseRaw(reply, 0x1234, 7, Ip("10.1.2.4")).kind, IcmpAnswer::Unrelated);
    EXPECT_EQ(ParseRaw(WithIpHeader(request, target, us), 0x1234, 7, target).kind,
              IcmpAnswer::Unrelated);
    auto flipped = reply;
    flipped.back() ^= 1;
    EXPECT_EQ(ParseRaw(flipped, 0x1234, 7, target).kind, IcmpAnswer::Unrelated);

    // A router's error quoting our request stands for its status.
    const auto sent = WithIpHeader(request, us, target);
    const auto error = WithIpHeader(Unreachable(1, sent), Ip("10.0.0.1"), us);
    const IcmpAnswer e = ParseRaw(error, 0x1234, 7, target);
    EXPECT_EQ(e.kind, IcmpAnswer::Error);
    EXPECT_EQ(e.status, IP_DEST_HOST_UNREACHABLE);
    EXPECT_EQ(ParseRaw(error, 0x1234, 6, target).kind, IcmpAnswer::Unrelated);

    // Every cut of the datagram, and header lengths that point past it, are refused quietly.
    for (std::size_t cut = 0; cut < error.size(); ++cut)
        EXPECT_NE(
            ParseRaw(std::vector<BYTE>(error.begin(), error.begin() + cut), 0x1234, 7, target).kind,
            IcmpAnswer::Error)
            << cut;
    for (BYTE ihl = 0; ihl < 16; ++ihl) {
        auto odd = reply;
        odd[0] = static_cast<BYTE>(0x40 | ihl);
        const IcmpAnswer r =
            ParseRaw(std::vector<BYTE>(odd.begin(), odd.begin() + 24), 1, 1, target);
        EXPECT_EQ(r.kind, IcmpAnswer::Unrelated) << int(ihl);
    }
}

TEST(IcmpEcho, EchoesTheLoopbackWhereASocketOpens) {
    int tried = 0;
    for (const int allow : {CIcmpEcho::kAllowDatagram, CIcmpEcho::kAllowRaw}) {
        CIcmpEcho echo(allow);
        if (!echo.Initialise())
            continue;
        ++tried;
        std::string from;
        DWORD ms = 12345;
        EXPECT_TRUE(echo.Ping("127.0.0.1", &from, &ms, 30, 500, 32)) << CIcmpEcho::LastError();
        EXPECT_EQ(CIcmpEcho::LastError(), IP_SUCCESS);
        EXPECT_EQ(from, "127.0.0.1");
        EXPECT_LT(ms, 500u);
        EXPECT_TRUE(echo.Ping("127.0.0.1", nullptr, nullptr, 30, 500, 0x100 + 200));
    }
    CIcmpEcho none(0);
    EXPECT_FALSE(none.Initialise());
    EXPECT_FALSE(none.Ping("127.0.0.1", nullptr, nullptr, 30, 500, 32));
    if (tried == 0)
        GTEST_SKIP() << "no ICMP socket may be opened here";
}

TEST(IcmpEcho, WithoutEchoSocketsAProbeConnectsToTheWebPort) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &length);
    const WORD port = ntohs(addr.sin_port);

    CIcmpEcho none(0);
    EchoHostProbe open(none, port);
    EXPECT_TRUE(open.Answers("127.0.0.1"));
    ::close(listener);
    EchoHostProbe closed(none, port);
    EXPECT_FALSE(closed.Answers("127.0.0.1"));
}
