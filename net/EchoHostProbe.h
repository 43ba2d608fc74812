#pragma once
#include "net/IHostProbe.h"
#include "platform/WinTypes.h"

#include <atomic>
#include <string>

class CIcmpEcho;

// Probes a host with one ICMP echo (time-to-live 30, 32 bytes, 500 ms). Where the system
// allows no echo socket, a TCP connection to the web host's port stands in: a host that
// accepts it within the same time answers.
class EchoHostProbe : public IHostProbe {
public:
    static constexpr BYTE kTtl = 30;
    static constexpr DWORD kTimeoutMs = 500;
    static constexpr WORD kPayload = 32;

    EchoHostProbe(CIcmpEcho& echo, WORD fallbackPort) : echo_(echo), fallbackPort_(fallbackPort) {}
    bool Answers(const std::string& host) override;
    // Every probe, running or to come, answers no at once: the program is ending.
    void Stop();

    // True when `host` accepts a TCP connection on `port` within `timeoutMs`; a wait ends
    // early (no) once `stop` is set.
    static bool Connects(const std::string& host, WORD port, DWORD timeoutMs,
                         const std::atomic<bool>* stop = nullptr);

private:
    CIcmpEcho& echo_;
    WORD fallbackPort_;
    std::atomic<bool> stopped_{false};
};
