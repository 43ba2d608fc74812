#pragma once
#include <atomic>
#include <cstddef>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A tiny HTTP/1.1 server on 127.0.0.1 (a free port) for tests: one request per connection,
// each on a thread of its own so that many clients are answered at once, from a route table
// (a path exactly, or by prefix when the route ends in '*'). It records what it was asked and
// counts how many connections it held at the same time, so a test can see how hard the
// program presses on a host. It serves a bounded number of requests, gives up on a silent
// client, and stops when destroyed.
class TestHttpServer {
public:
    struct Route {
        int status = 200;
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
        // Waits this long before answering (cut short when the server stops or the client
        // hangs up).
        int delayMs = 0;
        // False: no Content-Length; the body ends when the connection closes.
        bool sendLength = true;
        // Above 0: the body goes one byte at a time, this long apart (a trickling host).
        int trickleMs = 0;
        // Not empty: sent as it is instead of an answer made of the fields above, then the
        // connection closes (a host that breaks off mid-answer).
        std::string raw = {};
    };
    struct Request {
        std::string method;
        std::string path;
        std::string head; // request line and headers as received
    };

    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    void Add(const std::string& path, Route route);
    // A 302 answer from `path` to `location`.
    void AddRedirect(const std::string& path, const std::string& location);

    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    std::vector<Request> Requests() const;
    // Requests whose path starts with `prefix`.
    int Asked(const std::string& prefix) const;
    // The most connections waiting for their answer at one time.
    int MostAtOnce() const { return most_; }

private:
    static constexpr std::size_t kMaxRequests = 500;
    static constexpr std::size_t kMaxHead = 64 * 1024;
    static constexpr int kClientTimeoutMs = 5000;

    void Serve();
    // A connection counts as open until its answer starts, so that a client that has its
    // answer and connects again is never counted twice.
    void Answer(int client, bool& counted);
    void Opened();
    void Closed(bool& counted);
    bool FindRoute(const std::string& path, Route& route) const;
    bool ReadHead(int client, std::string& head);
    // Sleeps up to `ms`; false when the server is stopping or the client hung up.
    bool Wait(int ms, int client);

    int listener_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::vector<Request> requests_;
    std::atomic<int> open_{0};
    std::atomic<int> most_{0};
    std::list<std::thread> clients_; // only the acceptor thread adds to it
    std::thread thread_;
};
