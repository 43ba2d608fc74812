#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>

// The 18-byte Truevision TGA file header.
struct TgaHeader {
    static constexpr std::size_t kSize = 18;

    BYTE idLength = 0;
    BYTE colorMapType = 0;
    BYTE imageType = 0;
    WORD mapFirst = 0;
    WORD mapLength = 0;
    BYTE mapEntryBits = 0;
    WORD xOrigin = 0;
    WORD yOrigin = 0;
    WORD width = 0;
    WORD height = 0;
    BYTE pixelBits = 0;
    BYTE descriptor = 0;

    bool RunLength() const { return imageType >= 9; }
    bool ColorMapped() const { return imageType == 1 || imageType == 9; }
    bool Grey() const { return imageType == 3 || imageType == 11; }
    bool TopFirst() const { return (descriptor & 0x20) != 0; }
    bool RightToLeft() const { return (descriptor & 0x10) != 0; }
    int AlphaBits() const { return descriptor & 0x0F; }
    // Bytes of the colour map that follows the identification field.
    std::uint64_t MapBytes() const {
        return colorMapType == 1 ? std::uint64_t(mapLength) * ((mapEntryBits + 7) / 8) : 0;
    }
    // Grey pixels of 16 bits: a grey byte, then an alpha byte.
    bool GreyAlpha() const { return Grey() && pixelBits == 16; }
    // The depth of the picture made from this file: 8 for indices and greys, else 24.
    DWORD TargetBpp() const { return pixelBits == 8 || Grey() ? 8 : 24; }

    // Parses and checks the header; on failure sets `error` to the text the decoder reports.
    static bool Parse(std::span<const BYTE, kSize> bytes, TgaHeader& out, std::string& error);
    void Write(BYTE* out) const;
};
