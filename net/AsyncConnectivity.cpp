#include "net/AsyncConnectivity.h"

#include "net/FetchService.h"

bool AsyncConnectivity::IsConnected(int force) {
    std::lock_guard lock(mutex_);
    return check_.IsConnected(force);
}

void AsyncConnectivity::Check(int force, std::function<void(bool)> done) {
    fetches_.Run({}, [this, force, done = std::move(done)](FetchService::Worker&) {
        const bool online = IsConnected(force);
        return MainThread::Task([done, online] { done(online); });
    });
}
