#pragma once
// A loopback HTTP host for tests that answers many clients at once (a thread per connection)
// and counts how many it held open at the same time, so a test can see how hard the program
// presses on a host. Routes match a path exactly, or by prefix when they end in '*'.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <list>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class CountingHttpServer {
public:
    struct Route {
        std::string body;
        std::string type = "text/html";
        int delayMs = 0; // before the answer, cut short when the server stops
    };

    CountingHttpServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listener_ < 0 || ::pipe2(wake_, O_CLOEXEC) != 0)
            throw std::runtime_error("counting server: no socket");
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(listener_, 64) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
            throw std::runtime_error("counting server: cannot listen on 127.0.0.1");
        port_ = ntohs(addr.sin_port);
        acceptor_ = std::thread([this] { Accept(); });
    }
    ~CountingHttpServer() {
        const char stop = 's';
        [[maybe_unused]] const ssize_t n = ::write(wake_[1], &stop, 1);
        acceptor_.join();
        for (std::thread& t : clients_)
            t.join();
        ::close(listener_);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }
    CountingHttpServer(const CountingHttpServer&) = delete;
    CountingHttpServer& operator=(const CountingHttpServer&) = delete;

    void Add(const std::string& path, Route route) {
        std::lock_guard lock(mutex_);
        routes_[path] = std::move(route);
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // Requests whose path starts with `prefix`.
    int Asked(const std::string& prefix) const {
        std::lock_guard lock(mutex_);
        return int(std::count_if(paths_.begin(), paths_.end(),
                                 [&](const std::string& p) { return p.rfind(prefix, 0) == 0; }));
    }
    int MostAtOnce() const { return most_; }
    int OpenNow() const { return open_; }

private:
    void Accept() {
        for (;;) {
            pollfd p[2] = {{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
            if (::poll(p, 2, -1) < 0 || (p[0].revents & POLLIN))
                return;
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            const int now = ++open_;
            int most = most_;
            while (now > most && !most_.compare_exchange_weak(most, now)) {
            }
            clients_.emplace_back([this, client] {
                bool counted = true;
                Answer(client, counted);
                if (counted)
                    --open_;
                ::close(client);
            });
        }
    }
    // Sleeps up to `ms`; false when the server stops.
    bool Wait(int ms) const {
        pollfd p{wake_[0], POLLIN, 0};
        return ::poll(&p, 1, ms) == 0;
    }
    // A connection counts as open until its answer starts, so that a client that has its
    // answer and connects again is never counted twice.
    void Answer(int client, bool& counted) {
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            pollfd p[2] = {{wake_[0], POLLIN, 0}, {client, POLLIN, 0}};
            if (::poll(p, 2, 5000) <= 0 || (p[0].revents & POLLIN))
                return;
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            head.append(buffer, std::size_t(n));
        }
        const std::size_t s1 = head.find(' ');
        const std::size_t s2 = head.find(' ', s1 + 1);
        const std::string path = s1 == std::string::npos || s2 == std::string::npos
                                     ? ""
                                     : head.substr(s1 + 1, s2 - s1 - 1);
        Route route;
        bool found = false;
        {
            std::lock_guard lock(mutex_);
            paths_.push_back(path);
            for (const auto& [key, r] : routes_)
                if (key == path || (!key.empty() && key.back() == '*' &&
                                    path.rfind(key.substr(0, key.size() - 1), 0) == 0)) {
                    route = r;
                    found = true;
                    if (key == path)
                        break;
                }
        }
        if (route.delayMs > 0 && !Wait(route.delayMs))
            return;
        std::string answer = found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
        answer += "Connection: close\r\nContent-Type: " + route.type +
                  "\r\nContent-Length: " + std::to_string(route.body.size()) + "\r\n\r\n" +
                  route.body;
        --open_;
        counted = false;
        for (std::size_t sent = 0; sent < answer.size();) {
            const ssize_t n =
                ::send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += std::size_t(n);
        }
    }

    int listener_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::vector<std::string> paths_;
    std::atomic<int> open_{0};
    std::atomic<int> most_{0};
    std::list<std::thread> clients_;
    std::thread acceptor_;
};
