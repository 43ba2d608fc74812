#include "net/FetchService.h"

#include "net/FetchCancel.h"

#include <atomic>
#include <chrono>
#include <list>
#include <map>
#include <mutex>
#include <thread>

struct FetchService::Job {
    std::string key;
    std::uint64_t serial = 0;
    FetchCancel cancel;
    std::atomic<bool> finished{false};
    std::thread thread;
};

struct FetchService::Shared {
    std::mutex mutex;
    std::list<std::unique_ptr<Job>> jobs;
    // The job whose result counts, by purpose.
    std::map<std::string, std::uint64_t> current;
    std::uint64_t next = 1;
    bool closed = false;

    bool IsCurrent(const std::string& key, std::uint64_t serial) {
        std::lock_guard lock(mutex);
        const auto found = current.find(key);
        return found != current.end() && found->second == serial;
    }
    // True (and the job no longer current) when its result counts.
    bool Deliver(const std::string& key, std::uint64_t serial) {
        std::lock_guard lock(mutex);
        const auto found = current.find(key);
        if (found == current.end() || found->second != serial)
            return false;
        current.erase(found);
        return true;
    }
    // Joins the workers that are done; called with the lock held.
    void Reap() {
        for (auto it = jobs.begin(); it != jobs.end();) {
            if ((*it)->finished) {
                (*it)->thread.join();
                it = jobs.erase(it);
            } else {
                ++it;
            }
        }
    }
};

namespace {

// A task for the main thread that runs only while the job still counts.
MainThread::Task WhileCurrent(std::weak_ptr<FetchService::Shared> shared, std::string key,
                              std::uint64_t serial, MainThread::Task task, bool last) {
    return
        [shared = std::move(shared), key = std::move(key), serial, task = std::move(task), last] {
            const auto alive = shared.lock();
            if (alive && (last ? alive->Deliver(key, serial) : alive->IsCurrent(key, serial)))
                task();
        };
}

} // namespace

FetchService::FetchService(WebEndpoint endpoint)
    : endpoint_(std::move(endpoint)), shared_(std::make_shared<Shared>()) {}

FetchService::~FetchService() {
    Close();
}

void FetchService::Close() {
    std::list<std::unique_ptr<Job>> jobs;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->closed = true;
        shared_->current.clear();
        for (auto& job : shared_->jobs)
            job->cancel.Cancel();
        jobs.swap(shared_->jobs);
    }
    for (auto& job : jobs)
        job->thread.join();
}

void FetchService::Run(const std::string& purpose, Work work) {
    std::lock_guard lock(shared_->mutex);
    if (shared_->closed)
        return;
    shared_->Reap();
    const std::uint64_t serial = shared_->next++;
    // A job without a purpose gets a key no purpose can take.
    std::string key = purpose;
    if (key.empty()) {
        key.assign(1, '\x01');
        key.append(std::to_string(serial));
    }
    if (const auto old = shared_->current.find(key); old != shared_->current.end())
        for (auto& job : shared_->jobs)
            if (job->key == key && job->serial == old->second)
                job->cancel.Cancel();
    shared_->current[key] = serial;
    auto job = std::make_unique<Job>();
    job->key = key;
    job->serial = serial;
    Job* running = job.get();
    std::weak_ptr<Shared> shared = shared_;
    running->thread = std::thread([running, shared, work = std::move(work)] {
        Worker worker{running->cancel, [&](MainThread::Task task) {
                          MainThread::Post(WhileCurrent(shared, running->key, running->serial,
                                                        std::move(task), false));
                      }};
        MainThread::Task task = work(worker);
        if (task && !running->cancel.Cancelled())
            MainThread::Post(
                WhileCurrent(shared, running->key, running->serial, std::move(task), true));
        else if (const auto alive = shared.lock())
            alive->Deliver(running->key, running->serial);
        running->finished = true;
    });
    shared_->jobs.push_back(std::move(job));
}

void FetchService::Fetch(const std::string& purpose, FetchRequest request, Done done) {
    Fetch(purpose, std::move(request), {}, std::move(done));
}

void FetchService::Fetch(const std::string& purpose, FetchRequest request,
                         std::function<void(FetchResult&, FetchCancel&)> onWorker, Done done) {
    Run(purpose,
        [this, request = std::move(request), onWorker = std::move(onWorker),
         done = std::move(done)](Worker& worker) -> MainThread::Task {
            auto result = std::make_shared<FetchResult>(FetchNow(request, worker));
            if (onWorker && !result->cancelled)
                onWorker(*result, worker.cancel);
            return [result, done] { done(*result); };
        });
}

void FetchService::Configure(CWebGrab& grab, const FetchRequest& request, Worker& worker) const {
    using Clock = std::chrono::steady_clock;
    grab.SetDeadline(request.deadlineMs);
    grab.SetMaxBody(request.maxBody);
    grab.SetCancel(&worker.cancel);
    grab.SetRedirectCheck([this](const std::string& url) { return endpoint_.Refusal(url); });
    if (request.progress) {
        // A few reports a second are enough for a status bar.
        auto last = Clock::now() - std::chrono::seconds(1);
        grab.SetProgress([&, last](std::uint64_t got, std::uint64_t total) mutable {
            if (Clock::now() - last < std::chrono::milliseconds(250))
                return;
            last = Clock::now();
            worker.notify([progress = request.progress, got, total] { progress(got, total); });
        });
    }
}

FetchResult FetchService::FetchNow(const FetchRequest& request, Worker& worker) const {
    FetchResult result;
    CWebGrab grab;
    Configure(grab, request, worker);
    result.fetched = grab.GetPage(request.url, result.body, kWebAgent);
    result.cancelled = worker.cancel.Cancelled();
    result.status = grab.GetHttpStatus();
    result.headers = grab.GetRawHeaders();
    if (!result.fetched)
        result.error = grab.GetErrorMessage();
    else if (!result.Ok())
        result.error = "The server answered " + std::to_string(result.status);
    return result;
}

void FetchService::Cancel(const std::string& purpose) {
    std::lock_guard lock(shared_->mutex);
    const auto found = shared_->current.find(purpose);
    if (found == shared_->current.end())
        return;
    for (auto& job : shared_->jobs)
        if (job->key == purpose && job->serial == found->second)
            job->cancel.Cancel();
    shared_->current.erase(found);
}

bool FetchService::Busy(const std::string& purpose) const {
    std::lock_guard lock(shared_->mutex);
    return shared_->current.count(purpose) != 0;
}

bool FetchService::Idle() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->current.empty();
}

void FetchService::CancelAll() {
    std::lock_guard lock(shared_->mutex);
    shared_->current.clear();
    for (auto& job : shared_->jobs)
        job->cancel.Cancel();
}
