#pragma once

// Whether the program is online; `force` > 0 asks the hosts even right after a failure.
class IConnectivity {
public:
    virtual ~IConnectivity() = default;
    virtual bool IsConnected(int force) = 0;
};
