#include "net/IcmpPacket.h"

#include <cstring>

namespace {

constexpr BYTE kEchoReply = 0;
constexpr BYTE kUnreachable = 3;
constexpr BYTE kEchoRequest = 8;
constexpr BYTE kTimeExceeded = 11;
constexpr BYTE kProtocolIcmp = 1;
constexpr std::size_t kMinIpHeader = 20;

WORD Word(const BYTE* p) {
    return static_cast<WORD>((p[0] << 8) | p[1]);
}

std::uint32_t Address(const BYTE* p) {
    std::uint32_t a;
    std::memcpy(&a, p, sizeof a);
    return a;
}

// The length of the IPv4 header at `p`, or 0 when it is not a whole ICMP-carrying header.
std::size_t IpHeaderLength(const BYTE* p, std::size_t size) {
    if (size < kMinIpHeader || (p[0] >> 4) != 4 || p[9] != kProtocolIcmp)
        return 0;
    const std::size_t length = static_cast<std::size_t>(p[0] & 0x0F) * 4;
    return length >= kMinIpHeader && length <= size ? length : 0;
}

DWORD ErrorStatus(BYTE type, BYTE code) {
    if (type == kTimeExceeded)
        return IP_TTL_EXPIRED_TRANSIT;
    switch (code) {
    case 0:
        return IP_DEST_NET_UNREACHABLE;
    case 1:
        return IP_DEST_HOST_UNREACHABLE;
    case 2:
        return IP_DEST_PROT_UNREACHABLE;
    case 3:
        return IP_DEST_PORT_UNREACHABLE;
    default:
        return IP_DEST_HOST_UNREACHABLE;
    }
}

} // namespace

WORD IcmpPacket::Checksum(const BYTE* data, std::size_t size) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += Word(data + i);
    if (size % 2)
        sum += static_cast<std::uint64_t>(data[size - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<WORD>(~sum & 0xFFFF);
}

std::vector<BYTE> IcmpPacket::EchoRequest(WORD id, WORD sequence, std::size_t payloadSize) {
    std::vector<BYTE> packet(kHeaderSize + payloadSize, kPayloadByte);
    packet[0] = kEchoRequest;
    packet[1] = 0;
    packet[2] = packet[3] = 0;
    packet[4] = static_cast<BYTE>(id >> 8);
    packet[5] = static_cast<BYTE>(id);
    packet[6] = static_cast<BYTE>(sequence >> 8);
    packet[7] = static_cast<BYTE>(sequence);
    const WORD sum = Checksum(packet.data(), packet.size());
    packet[2] = static_cast<BYTE>(sum >> 8);
    packet[3] = static_cast<BYTE>(sum);
    return packet;
}

IcmpAnswer IcmpPacket::Parse(const BYTE* data, std::size_t size, bool withIpHeader,
                             std::optional<WORD> id, WORD sequence, std::uint32_t target) {
    IcmpAnswer answer;
    std::size_t offset = 0;
    if (withIpHeader) {
        offset = IpHeaderLength(data, size);
        if (offset == 0)
            return answer;
        answer.source = Address(data + 12);
    }
    const BYTE* icmp = data + offset;
    const std::size_t length = size - offset;
    if (length < kHeaderSize || Checksum(icmp, length) != 0)
        return answer;
    const BYTE type = icmp[0];
    if (type == kEchoReply) {
        if (icmp[1] != 0 || (id && Word(icmp + 4) != *id) || Word(icmp + 6) != sequence ||
            (withIpHeader && answer.source != target))
            return answer;
        answer.kind = IcmpAnswer::Reply;
        answer.data = std::string_view(reinterpret_cast<const char*>(icmp + kHeaderSize),
                                       length - kHeaderSize);
        return answer;
    }
    if (!withIpHeader || (type != kUnreachable && type != kTimeExceeded))
        return answer;
    // An error message quotes our request's IP header and its first eight bytes.
    const BYTE* quoted = icmp + kHeaderSize;
    const std::size_t quotedSize = length - kHeaderSize;
    const std::size_t quotedIp = IpHeaderLength(quoted, quotedSize);
    if (quotedIp == 0 || quotedSize - quotedIp < kHeaderSize || Address(quoted + 16) != target)
        return answer;
    const BYTE* request = quoted + quotedIp;
    if (request[0] != kEchoRequest || (id && Word(request + 4) != *id) ||
        Word(request + 6) != sequence)
        return answer;
    answer.kind = IcmpAnswer::Error;
    answer.status = ErrorStatus(type, icmp[1]);
    return answer;
}
