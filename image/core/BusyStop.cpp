#include "image/core/BusyStop.h"

bool BusyStop::Poll() {
    if (stopped_)
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_)
        return false;
    next_ = now + kInterval;
    stopped_ = IBusyIndicator::Current().StopAsked();
    return stopped_;
}
