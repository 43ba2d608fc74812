#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>

// The 128-byte ZSoft PCX header.
struct PcxHeader {
    static constexpr std::size_t kSize = 128;

    BYTE manufacturer = 10;
    BYTE version = 5;
    BYTE encoding = 1;
    BYTE bitsPerPixel = 0;
    WORD xMin = 0;
    WORD yMin = 0;
    WORD xMax = 0;
    WORD yMax = 0;
    WORD hDpi = 0;
    WORD vDpi = 0;
    BYTE palette[48] = {}; // 16 entries of red, green, blue
    BYTE planes = 0;
    WORD bytesPerLine = 0;
    WORD paletteInfo = 0;

    DWORD Width() const { return DWORD(xMax) - xMin + 1; }
    DWORD Height() const { return DWORD(yMax) - yMin + 1; }
    // Depth of the picture made from this file: 24 for 3 or 4 planes of 8 bits, 4 for
    // several planes of one bit (up to 16 colours), else the bits of one plane.
    DWORD TargetBpp() const;
    // Bytes of one decoded line, all planes.
    std::uint64_t LineBytes() const { return std::uint64_t(bytesPerLine) * planes; }

    // Parses and checks the header; on failure sets `error` to the text the decoder reports.
    static bool Parse(std::span<const BYTE, kSize> bytes, PcxHeader& out, std::string& error);
    void Write(BYTE* out) const;
};
