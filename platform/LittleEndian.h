#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

// Little-endian access to fixed byte layouts (stored Windows structures). The caller owns the
// bounds: both functions touch exactly sizeof(T) bytes at `p`.
template <typename T> void PutLittleEndian(BYTE* p, T value) {
    static_assert(std::is_integral_v<T>);
    const auto u = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<BYTE>((static_cast<std::uint64_t>(u) >> (8 * i)) & 0xFF);
}

template <typename T> T GetLittleEndian(const BYTE* p) {
    static_assert(std::is_integral_v<T>);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return static_cast<T>(static_cast<std::make_unsigned_t<T>>(v));
}
