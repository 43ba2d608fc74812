#pragma once
#include "net/IConnectivity.h"
#include "platform/WinTypes.h"

#include <string>
#include <vector>

class IHostProbe;
class INetState;

// Decides whether the program is online: the system's own state, confirmed by probing a list
// of hosts until one answers. After a failed probe the hosts are left alone for ten checks
// (each reporting offline) unless a check is forced, so a dead network costs the caller one
// round of time-outs in eleven rather than one per check. The application owns one.
class CConnectivityCheck : public IConnectivity {
public:
    static constexpr int kCycle = 11;

    CConnectivityCheck(INetState& system, IHostProbe& probe, std::vector<std::string> hosts);

    // force > 0 probes at once and restarts the count.
    bool IsConnected(int force) override;

    bool Connected() const { return connected_; }
    DWORD StateFlags() const { return stateFlags_; }
    // -1 before the first probe, then 1 or 0 for the last probe's outcome.
    int Reachable() const { return reachable_; }

private:
    bool ProbeHosts();

    INetState& system_;
    IHostProbe& probe_;
    std::vector<std::string> hosts_;
    int reachable_ = -1;
    int counter_ = 0;
    bool connected_ = false;
    DWORD stateFlags_ = 0;
};
