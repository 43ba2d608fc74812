#pragma once
#include "net/FetchService.h"
#include "platform/MainThread.h"

#include <chrono>
#include <thread>

// Headless tests play the event loop: they run what the workers handed to the main thread
// until the fetch service has delivered everything (or a generous limit passes).
inline bool RunUntilIdle(FetchService& fetches, int limitMs = 30000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (std::chrono::steady_clock::now() < end) {
        const bool idle = fetches.Idle();
        if (MainThread::RunPending() == 0 && idle)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}
