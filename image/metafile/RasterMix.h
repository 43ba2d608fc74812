#pragma once
#include "platform/WinTypes.h"

#include <cstdint>

// Raster operations on 0xXXRRGGBB pixels, bit by bit as their truth tables say: the mix modes
// of pens and brushes (1 black .. 13 copy .. 16 white) over pen and destination, and the
// ternary operations of bitmap blits over pattern, source and destination.
namespace RasterMix {

constexpr int kCopyPen = 13;

inline std::uint32_t Binary(int mode, std::uint32_t pen, std::uint32_t dst) {
    const unsigned table = unsigned(mode - 1) & 15; // bit (pen * 2 + dst)
    std::uint32_t r = 0;
    if (table & 1)
        r |= ~pen & ~dst;
    if (table & 2)
        r |= ~pen & dst;
    if (table & 4)
        r |= pen & ~dst;
    if (table & 8)
        r |= pen & dst;
    return r | 0xFF000000u;
}

inline unsigned TernaryTable(DWORD rop) {
    return (rop >> 16) & 0xFF; // bit (pattern * 4 + source * 2 + dst)
}

inline std::uint32_t Ternary(unsigned table, std::uint32_t pat, std::uint32_t src,
                             std::uint32_t dst) {
    std::uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (table & (1u << i))
            r |= ((i & 4) ? pat : ~pat) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
    }
    return r | 0xFF000000u;
}

inline bool UsesSource(unsigned table) {
    return ((table & 0xCC) >> 2) != (table & 0x33);
}

inline bool UsesPattern(unsigned table) {
    return (table >> 4) != (table & 0x0F);
}

} // namespace RasterMix
