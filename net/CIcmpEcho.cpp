#include "net/CIcmpEcho.h"

#include "net/IcmpPacket.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

thread_local DWORD lastError = IP_SUCCESS;

// Large enough for an IP header with options, the ICMP header and a 255-byte payload.
constexpr std::size_t kReceiveBuffer = 1024;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The IPv4 address of `host` in network order; false when it has none.
bool Resolve(const std::string& host, std::uint32_t& address) {
    in_addr a{};
    if (::inet_pton(AF_INET, host.c_str(), &a) == 1) {
        address = a.s_addr;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return true;
}

WORD NextSequence() {
    static std::atomic<unsigned> sequence{0};
    return static_cast<WORD>(++sequence);
}

} // namespace

CIcmpEcho& CIcmpEcho::Instance() {
    static CIcmpEcho echo;
    return echo;
}

CIcmpEcho::CIcmpEcho(int allow) : allow_(allow) {}

DWORD CIcmpEcho::LastError() {
    return lastError;
}

void CIcmpEcho::SetLastError(DWORD status) {
    lastError = status;
}

int CIcmpEcho::OpenSocket() const {
    switch (kind_) {
    case Socket::Datagram:
        return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    case Socket::Raw:
        return ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    default:
        return -1;
    }
}

bool CIcmpEcho::Initialise() {
    if (!initialised_) {
        initialised_ = true;
        for (const Socket kind : {Socket::Datagram, Socket::Raw}) {
            const int flag = kind == Socket::Datagram ? kAllowDatagram : kAllowRaw;
            if (!(allow_ & flag))
                continue;
            kind_ = kind;
            const Fd probe(OpenSocket());
            if (probe.get() >= 0)
                break;
            kind_ = Socket::None; // not permitted here: try the next kind
        }
    }
    return kind_ != Socket::None;
}

bool CIcmpEcho::CheckReply(std::size_t replies, DWORD status, std::string_view data,
                           std::size_t payloadSize) {
    if (replies != 1) {
        SetLastError(replies == 0 ? IP_REQ_TIMED_OUT : ERROR_UNEXP_NET_ERR);
        return false;
    }
    if (status != IP_SUCCESS) {
        SetLastError(status);
        return false;
    }
    if (data.size() != payloadSize || data.find_first_not_of(static_cast<char>(
                                          IcmpPacket::kPayloadByte)) != std::string_view::npos) {
        SetLastError(ERROR_UNEXP_NET_ERR);
        return false;
    }
    SetLastError(IP_SUCCESS);
    return true;
}

bool CIcmpEcho::WaitReadable(int socket, DWORD milliseconds, bool& readable) {
    readable = false;
    pollfd p{socket, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(std::min<DWORD>(milliseconds, 0x7FFFFFFF)));
    if (ready < 0)
        return false;
    readable = ready > 0 && (p.revents & POLLIN);
    return true;
}

bool CIcmpEcho::Ping(const std::string& host, std::string* replyAddress, DWORD* echoMs, BYTE ttl,
                     DWORD timeoutMs, WORD payloadSize, const std::atomic<bool>* stop) {
    using Clock = std::chrono::steady_clock;
    if (!Initialise() || (stop && *stop)) {
        SetLastError(IP_GENERAL_FAILURE);
        return false;
    }
    std::uint32_t target = 0;
    if (!Resolve(host, target)) {
        SetLastError(IP_DEST_HOST_UNREACHABLE);
        return false;
    }
    const Fd socket(OpenSocket());
    if (socket.get() < 0) {
        SetLastError(IP_GENERAL_FAILURE);
        return false;
    }
    const bool raw = kind_ == Socket::Raw;
    const std::size_t size = payloadSize & 0xFF;
    const WORD id = static_cast<WORD>(::getpid());
    const WORD sequence = NextSequence();
    const std::vector<BYTE> request = IcmpPacket::EchoRequest(id, sequence, size);
    const int hops = ttl;
    ::setsockopt(socket.get(), IPPROTO_IP, IP_TTL, &hops, sizeof hops);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = target;
    const auto start = Clock::now();
    if (::sendto(socket.get(), request.data(), request.size(), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        SetLastError(IP_GENERAL_FAILURE);
        return false;
    }
    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    BYTE buffer[kReceiveBuffer];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        bool readable = false;
        if (left.count() <= 0 || (stop && *stop) ||
            !WaitReadable(socket.get(), std::min(static_cast<DWORD>(left.count()), kStopSliceMs),
                          readable))
            return CheckReply(0, IP_REQ_TIMED_OUT, {}, size);
        if (!readable)
            continue;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t got = ::recvfrom(socket.get(), buffer, sizeof buffer, MSG_TRUNC,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            SetLastError(IP_GENERAL_FAILURE);
            return false;
        }
        // A truncated datagram is longer than any reply to our request: not ours.
        if (static_cast<std::size_t>(got) > sizeof buffer)
            continue;
        const IcmpAnswer answer =
            IcmpPacket::Parse(buffer, static_cast<std::size_t>(got), raw,
                              raw ? std::optional<WORD>(id) : std::nullopt, sequence, target);
        if (answer.kind == IcmpAnswer::Unrelated || (!raw && from.sin_addr.s_addr != target))
            continue;
        if (!CheckReply(1, answer.status, answer.data, size))
            return false;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        if (echoMs)
            *echoMs = static_cast<DWORD>(elapsed.count());
        if (replyAddress) {
            char text[INET_ADDRSTRLEN] = {};
            in_addr source{raw ? answer.source : from.sin_addr.s_addr};
            ::inet_ntop(AF_INET, &source, text, sizeof text);
            *replyAddress = text;
        }
        return true;
    }
}
