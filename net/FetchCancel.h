#pragma once
#include <functional>
#include <mutex>

// Stops one running transfer from another thread. The transfer registers how to wake its
// wait; Cancel sets the flag and wakes it, so the transfer ends at once rather than at its
// next time-out.
class FetchCancel {
public:
    void Cancel();
    bool Cancelled() const;
    // Called by the transfer around its wait; an empty function ends the registration.
    void SetWake(std::function<void()> wake);

private:
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    std::function<void()> wake_;
};
