#include "net/FetchCancel.h"

void FetchCancel::Cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (wake_)
        wake_();
}

bool FetchCancel::Cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

void FetchCancel::SetWake(std::function<void()> wake) {
    std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}
