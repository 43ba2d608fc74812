#pragma once
#include "net/IConnectivity.h"

#include <mutex>

class FetchService;

// The connectivity check for window code: the probes (which wait on echoes and connections)
// run on the fetch service's workers, one check at a time, and the answer comes back through
// the event loop.
class AsyncConnectivity : public IConnectivity {
public:
    AsyncConnectivity(IConnectivity& check, FetchService& fetches)
        : check_(check), fetches_(fetches) {}

    // Blocks; for workers only.
    bool IsConnected(int force) override;
    void Check(int force, std::function<void(bool)> done) override;

private:
    IConnectivity& check_;
    FetchService& fetches_;
    std::mutex mutex_;
};
