#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Status numbers of an echo, as the program's callers know them.
enum : DWORD {
    IP_SUCCESS = 0,
    IP_DEST_NET_UNREACHABLE = 11002,
    IP_DEST_HOST_UNREACHABLE = 11003,
    IP_DEST_PROT_UNREACHABLE = 11004,
    IP_DEST_PORT_UNREACHABLE = 11005,
    IP_REQ_TIMED_OUT = 11010,
    IP_TTL_EXPIRED_TRANSIT = 11013,
    IP_GENERAL_FAILURE = 11050,
    ERROR_UNEXP_NET_ERR = 59,
};

// One ICMP datagram received while waiting for an echo, as far as it concerns that echo.
struct IcmpAnswer {
    enum Kind { Unrelated, Reply, Error } kind = Unrelated;
    // IP_SUCCESS for a reply, else the status the error message stands for.
    DWORD status = IP_SUCCESS;
    // IPv4 address (network order) the datagram came from; known only with an IP header.
    std::uint32_t source = 0;
    // The echoed payload of a reply (a view into the received bytes).
    std::string_view data;
};

// Builds echo requests and reads what comes back. Received bytes are outside input: every
// length is checked against the bytes present before it is used.
class IcmpPacket {
public:
    static constexpr std::size_t kHeaderSize = 8;
    static constexpr BYTE kPayloadByte = 'E';

    // An echo request with `payloadSize` bytes of kPayloadByte, its checksum filled in.
    static std::vector<BYTE> EchoRequest(WORD id, WORD sequence, std::size_t payloadSize);
    // The Internet checksum (ones' complement sum of 16-bit words, network order).
    static WORD Checksum(const BYTE* data, std::size_t size);

    // Reads one datagram. A raw socket hands the IP header too (`withIpHeader`); its answers
    // must carry our `id` and come from `target` (network order), and error messages must quote
    // our request. A datagram socket has the kernel match the id, so `id` is then not checked.
    static IcmpAnswer Parse(const BYTE* data, std::size_t size, bool withIpHeader,
                            std::optional<WORD> id, WORD sequence, std::uint32_t target);
};
