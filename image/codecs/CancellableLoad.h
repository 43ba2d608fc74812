#pragma once
#include "image/core/BusyStop.h"

#include <string>

class CRaster;

// A picture load the user waits for on the main thread: the busy cursor shows while it
// lasts, and Escape held down stops it (the load then fails with CRaster::kCancelled).
class CancellableLoad : public BusyStop {
public:
    explicit CancellableLoad(CRaster& picture);
    ~CancellableLoad() override;

    // Loads a picture file, its format found from its contents, as a cancellable load; a file
    // that claims a format by its first bytes but does not read fails with that reader's reason.
    static bool Load(CRaster& picture, const std::string& path);

private:
    CRaster& picture_;
    StopSignal* previous_;
};
