#pragma once
#include "image/StopSignal.h"
#include "platform/CWaitCursor.h"

#include <chrono>
#include <string>

class CRaster;

// A picture load the user waits for on the main thread: the busy cursor shows while it
// lasts, and Escape held down stops it (the load then fails with CRaster::kCancelled).
class CancellableLoad : public StopSignal {
public:
    explicit CancellableLoad(CRaster& picture);
    ~CancellableLoad() override;
    CancellableLoad(const CancellableLoad&) = delete;
    CancellableLoad& operator=(const CancellableLoad&) = delete;

    bool Poll() override;
    // Loads a picture file, its format found from its contents, as a cancellable load; a file
    // that claims a format by its first bytes but does not read fails with that reader's reason.
    static bool Load(CRaster& picture, const std::string& path);

private:
    // Asking the display costs a round trip; rows come far more often than keys change.
    static constexpr std::chrono::milliseconds kInterval{15};

    CWaitCursor wait_;
    CRaster& picture_;
    StopSignal* previous_;
    std::chrono::steady_clock::time_point next_{};
    bool stopped_ = false;
};
