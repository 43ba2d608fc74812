#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <span>
#include <vector>

// The directory at the start of an icon or cursor file.
struct IcoEntry {
    static constexpr std::size_t kSize = 16;
    DWORD width = 0;  // 1..256 (a stored 0 means 256)
    DWORD height = 0; // 1..256
    BYTE colorCount = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD bytes = 0;
    DWORD offset = 0; // from the start of the directory

    static IcoEntry Load(const BYTE* p);
    void Store(BYTE* p) const;
};

struct IcoDirectory {
    static constexpr std::size_t kHeaderSize = 6;
    static constexpr WORD kIcon = 1;
    static constexpr WORD kCursor = 2;

    // Parses the 6-byte header; returns the entry count, or -1 when it is no icon directory.
    static int ParseHeader(std::span<const BYTE, kHeaderSize> bytes);
    static void StoreHeader(BYTE* p, WORD count);
};
