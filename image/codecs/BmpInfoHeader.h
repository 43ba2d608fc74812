#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>

// The bitmap information header in every form other programs write: the 12-byte core header,
// the 40-byte header, the 64-byte two-dimensional variant and the longer forms (52, 56, 108,
// 124 bytes) that carry their colour masks inside the header.
struct BmpInfoHeader {
    static constexpr DWORD kCoreSize = 12;
    static constexpr DWORD kInfoSize = 40;
    static constexpr DWORD kMaxSize = 4096;
    static constexpr DWORD kRgb = 0;
    static constexpr DWORD kRle8 = 1;
    static constexpr DWORD kRle4 = 2;
    static constexpr DWORD kBitfields = 3;

    DWORD size = kInfoSize;
    LONG width = 0;
    LONG height = 0; // negative: the first stored row is the top one
    WORD planes = 1;
    WORD bitCount = 0;
    DWORD compression = kRgb;
    DWORD sizeImage = 0;
    LONG xPelsPerMeter = 0;
    LONG yPelsPerMeter = 0;
    DWORD clrUsed = 0;
    DWORD clrImportant = 0;
    DWORD redMask = 0;
    DWORD greenMask = 0;
    DWORD blueMask = 0;
    DWORD alphaMask = 0;

    bool IsCore() const { return size == kCoreSize; }
    bool MasksInHeader() const { return size >= 52 && size != 64; }
    bool HasAlphaMask() const { return size >= 56 && size != 64 && alphaMask != 0; }
    bool TopDown() const { return height < 0; }
    DWORD Height() const { return height < 0 ? 0u - static_cast<DWORD>(height) : height; }
    // Bytes of one stored row, rounded to 4 bytes, computed without overflow.
    std::uint64_t RowBytes() const { return ((std::uint64_t(width) * bitCount + 31) / 32) * 4; }
    // Palette entries present in the file (the header's count, or all of them when 0).
    std::uint64_t FileColors() const;
    // Bytes of one palette entry in the file.
    DWORD PaletteEntrySize() const { return IsCore() ? 3 : 4; }

    // Whether a header starting with this size field can be read at all.
    static bool SizeAccepted(DWORD size);
    // Parses `bytes` (exactly `size` bytes, the size field first). On failure returns false and
    // sets `error` to the reason.
    static bool Parse(std::span<const BYTE> bytes, BmpInfoHeader& out, std::string& error);
};
