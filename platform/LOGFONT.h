#pragma once
#include "platform/WinTypes.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

constexpr int LF_FACESIZE = 32;

// A font request. Documents and the profile store it in the 60-byte layout of the 32-bit ANSI
// form: five LONGs, eight BYTEs, then a 32-byte face name in Windows-1252.
struct LOGFONT {
    static constexpr std::size_t kBytes = 60;
    static constexpr std::size_t kFaceBytes = LF_FACESIZE;

    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    // Windows-1252 bytes as stored, so that a record round-trips byte for byte.
    char lfFaceName[LF_FACESIZE] = {};

    std::array<BYTE, kBytes> ToBytes() const;
    static LOGFONT FromBytes(std::span<const BYTE, kBytes> bytes);

    // The face name up to its terminator, as UTF-8.
    std::string FaceName() const;
    // Stores the name in Windows-1252, cut to 31 bytes so that a terminator always follows.
    void SetFaceName(std::string_view utf8);

    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};
