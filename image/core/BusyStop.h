#pragma once
#include "image/core/StopSignal.h"
#include "platform/CWaitCursor.h"

#include <chrono>

// Work the user waits for on the main thread: the busy cursor shows while it lasts, and
// Escape held down asks it to stop.
class BusyStop : public StopSignal {
public:
    BusyStop() = default;
    BusyStop(const BusyStop&) = delete;
    BusyStop& operator=(const BusyStop&) = delete;

    bool Poll() override;

private:
    // Asking the display costs a round trip; rows come far more often than keys change.
    static constexpr std::chrono::milliseconds kInterval{15};

    CWaitCursor wait_;
    std::chrono::steady_clock::time_point next_{};
    bool stopped_ = false;
};
