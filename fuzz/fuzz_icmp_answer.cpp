// Hostile datagrams on an echo socket: the reply reader must stay inside the bytes it got.
#include "net/IcmpPacket.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const bool raw = data[0] & 1;
    // Copy into a buffer of exactly the received size, so any overread is caught.
    std::vector<BYTE> datagram(data + 1, data + size);
    const IcmpAnswer a =
        IcmpPacket::Parse(datagram.data(), datagram.size(), raw,
                          raw ? std::optional<WORD>(0x1234) : std::nullopt, 7, 0x0100007F);
    if (a.kind == IcmpAnswer::Reply && !a.data.empty()) {
        volatile char last = a.data.back();
        (void)last;
    }
    return 0;
}
