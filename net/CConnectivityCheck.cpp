#include "net/CConnectivityCheck.h"

#include "net/IHostProbe.h"
#include "net/INetState.h"

CConnectivityCheck::CConnectivityCheck(INetState& system, IHostProbe& probe,
                                       std::vector<std::string> hosts)
    : system_(system), probe_(probe), hosts_(std::move(hosts)) {}

bool CConnectivityCheck::ProbeHosts() {
    for (const std::string& host : hosts_)
        if (probe_.Answers(host))
            return true;
    return false;
}

bool CConnectivityCheck::IsConnected(int force) {
    bool connected = system_.Connected(stateFlags_);
    if (reachable_ == 0 && counter_ != 0)
        connected = false;
    if (force > 0) {
        connected = true;
        counter_ = 0;
    }
    if (connected && (reachable_ != 0 || counter_ == 0)) {
        reachable_ = 1;
        if (!ProbeHosts()) {
            connected = false;
            reachable_ = 0;
        }
    }
    if (++counter_ >= kCycle)
        counter_ = 0;
    connected_ = connected;
    return connected;
}
