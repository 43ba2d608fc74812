#pragma once
#include "net/CWebGrab.h"
#include "net/WebEndpoint.h"
#include "platform/MainThread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class FetchCancel;

// What one transfer asks for.
struct FetchRequest {
    std::string url;
    DWORD deadlineMs = CWebGrab::kDefaultDeadlineMs;
    std::size_t maxBody = CWebGrab::kDefaultMaxBody;
    // Bytes received and expected (0: unknown), on the main thread, at most a few times a
    // second.
    std::function<void(std::uint64_t got, std::uint64_t total)> progress;
};

// What one transfer brought back.
struct FetchResult {
    bool fetched = false; // a response came (whatever its status)
    bool cancelled = false;
    DWORD status = 0;
    std::string body;
    std::string headers;
    std::string error;
    bool Ok() const { return fetched && status >= 200 && status <= 299; }
};

// Runs the program's transfers (and other waits on the outside world) on worker threads and
// hands their results to the main thread through the event loop, so no window ever waits on
// a socket. Jobs have a purpose: a newer job for the same purpose supersedes the older, whose
// result is dropped. Every transfer has a total deadline besides the stall rule and may
// redirect only within the web host. Destroying the service cancels what is in flight and
// returns as soon as the workers have noticed.
class FetchService {
public:
    static constexpr DWORD kPageDeadlineMs = 15000;
    static constexpr DWORD kDownloadDeadlineMs = 120000;
    // What a job has on its worker: its cancel flag, and a way to tell the main thread of
    // progress (dropped once the job is superseded or cancelled).
    struct Worker {
        FetchCancel& cancel;
        std::function<void(MainThread::Task)> notify;
    };
    // A job runs on a worker and returns what the main thread does with its outcome.
    using Work = std::function<MainThread::Task(Worker& worker)>;
    using Done = std::function<void(FetchResult&)>;

    explicit FetchService(WebEndpoint endpoint);
    ~FetchService();
    FetchService(const FetchService&) = delete;
    FetchService& operator=(const FetchService&) = delete;

    // An empty purpose is never superseded.
    void Run(const std::string& purpose, Work work);
    // Fetches `request.url`; `done` gets the result on the main thread.
    void Fetch(const std::string& purpose, FetchRequest request, Done done);
    // The same, with `onWorker` given the result on the worker first (to decode or write what
    // came without holding up the windows).
    void Fetch(const std::string& purpose, FetchRequest request,
               std::function<void(FetchResult&, FetchCancel&)> onWorker, Done done);
    // The job of `purpose` stops and its result is dropped.
    void Cancel(const std::string& purpose);
    // A job of `purpose` has not delivered yet.
    bool Busy(const std::string& purpose) const;
    // No job has a result still to deliver.
    bool Idle() const;
    void CancelAll();
    // Cancels everything and waits for the workers to notice; nothing runs after it. The
    // owner calls it before the objects its jobs use go.
    void Close();

    // Gives `grab` the request's deadline, body limit, progress, the worker's cancel flag and
    // the web host's redirect rule.
    void Configure(CWebGrab& grab, const FetchRequest& request, Worker& worker) const;
    // One fetch as the workers make it, on the calling (worker) thread.
    FetchResult FetchNow(const FetchRequest& request, Worker& worker) const;
    const WebEndpoint& Endpoint() const { return endpoint_; }

    struct Shared;

private:
    struct Job;

    WebEndpoint endpoint_;
    std::shared_ptr<Shared> shared_;
};
