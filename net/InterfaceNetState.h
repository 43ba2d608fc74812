#pragma once
#include "net/INetState.h"

#include <string>
#include <vector>

// The system counts as connected when a network interface other than loopback is up and
// running, or when every probe host is a loopback address (nothing else is needed to reach it).
class InterfaceNetState : public INetState {
public:
    explicit InterfaceNetState(std::vector<std::string> probeHosts)
        : probeHosts_(std::move(probeHosts)) {}
    bool Connected(DWORD& flags) override;

    static bool IsLoopback(const std::string& host);

private:
    std::vector<std::string> probeHosts_;
};
