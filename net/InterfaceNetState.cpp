#include "net/InterfaceNetState.h"

#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {

bool AnyInterfaceOut() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (const ifaddrs* i = list; i && !found; i = i->ifa_next) {
        const unsigned up = IFF_UP | IFF_RUNNING;
        found = i->ifa_addr &&
                (i->ifa_addr->sa_family == AF_INET || i->ifa_addr->sa_family == AF_INET6) &&
                (i->ifa_flags & up) == up && !(i->ifa_flags & IFF_LOOPBACK);
    }
    ::freeifaddrs(list);
    return found;
}

} // namespace

bool InterfaceNetState::IsLoopback(const std::string& host) {
    in_addr v4{};
    if (::inet_pton(AF_INET, host.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (::inet_pton(AF_INET6, host.c_str(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6);
    return host == "localhost";
}

bool InterfaceNetState::Connected(DWORD& flags) {
    flags = 0;
    if (AnyInterfaceOut()) {
        flags = kConnectionLan;
        return true;
    }
    return !probeHosts_.empty() && std::all_of(probeHosts_.begin(), probeHosts_.end(), IsLoopback);
}
