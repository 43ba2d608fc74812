#pragma once
#include "platform/WinTypes.h"

// Whether the system itself has a way out, before any host is asked (the connected state and
// its flags, as the connectivity check stores them).
class INetState {
public:
    static constexpr DWORD kConnectionLan = 0x02;
    virtual ~INetState() = default;
    virtual bool Connected(DWORD& flags) = 0;
};
