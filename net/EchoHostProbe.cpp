#include "net/EchoHostProbe.h"

#include "platform/MainThread.h"

#include <cstdio>
#include <cstdlib>

#include "net/CIcmpEcho.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class AddressList {
public:
    ~AddressList() {
        if (list)
            ::freeaddrinfo(list);
    }
    addrinfo* list = nullptr;
};

} // namespace

bool EchoHostProbe::Answers(const std::string& host) {
    if (MainThread::IsCurrent()) {
        std::fprintf(stderr, "A probe of %s was asked for on the main thread\n", host.c_str());
        std::abort();
    }
    if (stopped_)
        return false;
    if (echo_.Initialise())
        return echo_.Ping(host, nullptr, nullptr, kTtl, kTimeoutMs, kPayload, &stopped_);
    return Connects(host, fallbackPort_, kTimeoutMs, &stopped_);
}

void EchoHostProbe::Stop() {
    stopped_ = true;
}

bool EchoHostProbe::Connects(const std::string& host, WORD port, DWORD timeoutMs,
                             const std::atomic<bool>* stop) {
    using Clock = std::chrono::steady_clock;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    AddressList found;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found.list) != 0 || !found.list)
        return false;
    const addrinfo* a = found.list;
    const int fd =
        ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        int ready = 0;
        // Short waits, so that a stop is seen within a moment.
        while (ready == 0 && !(stop && *stop)) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break;
            pollfd p{fd, POLLOUT, 0};
            ready =
                ::poll(&p, 1, static_cast<int>(std::min<long long>(left, CIcmpEcho::kStopSliceMs)));
            if (ready < 0 && errno == EINTR)
                ready = 0;
        }
        int error = 0;
        socklen_t length = sizeof error;
        connected = ready == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                    error == 0;
    }
    ::close(fd);
    return connected;
}
