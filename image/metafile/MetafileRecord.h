#pragma once
#include "platform/LittleEndian.h"
#include "platform/WinTypes.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// One metafile record's bytes with bounds-checked little-endian reads: a read past the end
// gives 0, and Has() tells the players up front whether a field is there.
class MetafileRecord {
public:
    explicit MetafileRecord(std::span<const BYTE> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t n) const {
        return offset <= bytes_.size() && n <= bytes_.size() - offset;
    }
    WORD U16(std::uint64_t at) const { return Has(at, 2) ? GetLittleEndian<WORD>(&bytes_[at]) : 0; }
    short S16(std::uint64_t at) const { return static_cast<short>(U16(at)); }
    DWORD U32(std::uint64_t at) const {
        return Has(at, 4) ? GetLittleEndian<DWORD>(&bytes_[at]) : 0;
    }
    LONG S32(std::uint64_t at) const { return static_cast<LONG>(U32(at)); }
    float F32(std::uint64_t at) const { return std::bit_cast<float>(U32(at)); }
    BYTE U8(std::uint64_t at) const { return Has(at, 1) ? bytes_[at] : 0; }
    // n bytes from `at`, empty when they are not all there.
    std::span<const BYTE> Bytes(std::uint64_t at, std::uint64_t n) const {
        return Has(at, n) ? bytes_.subspan(std::size_t(at), std::size_t(n))
                          : std::span<const BYTE>();
    }

private:
    std::span<const BYTE> bytes_;
};

// UTF-16LE text (unpaired surrogates become '?') as UTF-8.
std::string Utf16LeToUtf8(std::span<const BYTE> bytes);
