#include "tests/support/TestHttpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string Reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

void SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return; // the client went away; nothing to tell it
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace

TestHttpServer::TestHttpServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0 || ::pipe2(wake_, O_CLOEXEC) != 0)
        throw std::runtime_error("test server: no socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t length = sizeof addr;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
    const char stop = 's';
    [[maybe_unused]] const ssize_t n = ::write(wake_[1], &stop, 1);
    thread_.join();
    for (std::thread& client : clients_)
        client.join();
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void TestHttpServer::Add(const std::string& path, Route route) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
}

void TestHttpServer::AddRedirect(const std::string& path, const std::string& location) {
    Route r;
    r.status = 302;
    r.headers.push_back({"Location", location});
    Add(path, r);
}

std::string TestHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<TestHttpServer::Request> TestHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int TestHttpServer::Asked(const std::string& prefix) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(requests_.begin(), requests_.end(),
                      [&](const Request& r) { return r.path.rfind(prefix, 0) == 0; }));
}

void TestHttpServer::Opened() {
    const int now = ++open_;
    int most = most_;
    while (now > most && !most_.compare_exchange_weak(most, now)) {
    }
}

void TestHttpServer::Closed(bool& counted) {
    if (counted)
        --open_;
    counted = false;
}

// The exact path first, else the first prefix route that matches.
bool TestHttpServer::FindRoute(const std::string& path, Route& route) const {
    if (const auto exact = routes_.find(path); exact != routes_.end()) {
        route = exact->second;
        return true;
    }
    for (const auto& [key, candidate] : routes_)
        if (!key.empty() && key.back() == '*' &&
            path.compare(0, key.size() - 1, key, 0, key.size() - 1) == 0) {
            route = candidate;
            return true;
        }
    return false;
}

bool TestHttpServer::Wait(int ms, int client) {
    pollfd p[2] = {{wake_[0], POLLIN, 0}, {client, POLLIN, 0}};
    return ::poll(p, 2, ms) == 0;
}

void TestHttpServer::Serve() {
    for (std::size_t served = 0; served < kMaxRequests; ++served) {
        pollfd p[2] = {{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 || (p[0].revents & POLLIN))
            return;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        Opened();
        clients_.emplace_back([this, client] {
            bool counted = true;
            Answer(client, counted);
            Closed(counted);
            ::close(client);
        });
    }
}

bool TestHttpServer::ReadHead(int client, std::string& head) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientTimeoutMs);
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p[2] = {{wake_[0], POLLIN, 0}, {client, POLLIN, 0}};
        if (left <= 0 || head.size() > kMaxHead || ::poll(p, 2, static_cast<int>(left)) <= 0 ||
            (p[0].revents & POLLIN))
            return false;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    head.resize(head.find("\r\n\r\n") + 2);
    return true;
}

void TestHttpServer::Answer(int client, bool& counted) {
    std::string head;
    if (!ReadHead(client, head))
        return;
    Request request;
    request.head = head;
    const std::size_t space1 = head.find(' ');
    const std::size_t space2 = head.find(' ', space1 + 1);
    if (space1 != std::string::npos && space2 != std::string::npos) {
        request.method = head.substr(0, space1);
        request.path = head.substr(space1 + 1, space2 - space1 - 1);
    }
    Route route;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (!FindRoute(request.path, route)) {
            route.status = 404;
            route.body = "no such page";
        }
    }
    if (route.delayMs > 0 && !Wait(route.delayMs, client))
        return;
    Closed(counted);
    if (!route.raw.empty()) {
        SendAll(client, route.raw);
        return;
    }
    std::string answer =
        "HTTP/1.1 " + std::to_string(route.status) + " " + Reason(route.status) + "\r\n";
    answer += "Connection: close\r\n";
    if (route.sendLength)
        answer += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
    for (const auto& [name, value] : route.headers)
        answer += name + ": " + value + "\r\n";
    answer += "\r\n";
    if (request.method == "HEAD") {
        SendAll(client, answer);
        return;
    }
    if (route.trickleMs <= 0) {
        SendAll(client, answer + route.body);
        return;
    }
    SendAll(client, answer);
    for (char byte : route.body) {
        if (!Wait(route.trickleMs, client))
            return;
        SendAll(client, std::string(1, byte));
    }
}
