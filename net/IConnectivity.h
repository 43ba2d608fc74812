#pragma once
#include <functional>

// Whether the program is online; `force` > 0 asks the hosts even right after a failure.
class IConnectivity {
public:
    virtual ~IConnectivity() = default;
    virtual bool IsConnected(int force) = 0;
    // The same check for callers on the main thread: `done` hears the answer later, from the
    // event loop, when the check has to wait on the network.
    virtual void Check(int force, std::function<void(bool)> done) { done(IsConnected(force)); }
};
