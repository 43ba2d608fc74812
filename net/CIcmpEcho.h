#pragma once
#include "platform/WinTypes.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

// Sends one ICMP echo request and waits for its reply. It uses an unprivileged ICMP datagram
// socket where the system allows one (net.ipv4.ping_group_range), else a raw socket (root or
// CAP_NET_RAW); with neither, echoes are simply unavailable. It never asks for privileges.
// The outcome of the last echo on this thread is kept as a status number (LastError).
class CIcmpEcho {
public:
    enum class Socket { None, Datagram, Raw };
    enum Allow { kAllowDatagram = 1, kAllowRaw = 2, kAllowAll = 3 };

    // The program's echo service (a documented singleton, living as long as the process).
    static CIcmpEcho& Instance();
    explicit CIcmpEcho(int allow = kAllowAll);

    // True when an echo socket can be opened; the kind is found on the first call.
    bool Initialise();
    Socket Kind() const { return kind_; }

    // Echoes `payloadSize` (low 8 bits) bytes of 'E' to `host` (dotted IPv4 or a name) with the
    // given time-to-live, waiting up to `timeoutMs`. True on a valid reply, with the replying
    // address and round trip in milliseconds when asked for; else LastError tells why. The
    // wait ends early (no reply) once `stop` is set.
    bool Ping(const std::string& host, std::string* replyAddress, DWORD* echoMs, BYTE ttl,
              DWORD timeoutMs, WORD payloadSize, const std::atomic<bool>* stop = nullptr);

    // Checks a reply: exactly one, status 0, `payloadSize` bytes all 'E'. Sets LastError to the
    // status, or to ERROR_UNEXP_NET_ERR for a reply that does not match.
    static bool CheckReply(std::size_t replies, DWORD status, std::string_view data,
                           std::size_t payloadSize);
    // Waits up to `milliseconds` for `socket` to become readable; false on a wait error.
    static bool WaitReadable(int socket, DWORD milliseconds, bool& readable);

    // How long one wait lasts at most before a stop flag is looked at again.
    static constexpr DWORD kStopSliceMs = 50;

    static DWORD LastError();
    static void SetLastError(DWORD status);

private:
    int OpenSocket() const;

    int allow_;
    bool initialised_ = false;
    Socket kind_ = Socket::None;
};
