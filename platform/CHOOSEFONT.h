#pragma once
#include "platform/WinTypes.h"

#include <array>
#include <span>

// The font dialog's record in the 60-byte layout of its 32-bit form, as documents and the
// profile store it. Its handle and pointer members are opaque 32-bit values here: they meant
// something only inside the process that wrote them and are carried unchanged. The font
// itself travels beside it as a LOGFONT.
struct CHOOSEFONT {
    static constexpr std::size_t kBytes = 60;

    DWORD lStructSize = kBytes;
    DWORD hwndOwner = 0;
    DWORD hDC = 0;
    DWORD lpLogFont = 0;
    INT iPointSize = 0; // tenths of a point
    DWORD Flags = 0;
    COLORREF rgbColors = 0;
    LPARAM lCustData = 0;
    DWORD lpfnHook = 0;
    DWORD lpTemplateName = 0;
    DWORD hInstance = 0;
    DWORD lpszStyle = 0;
    WORD nFontType = 0;
    WORD wReserved = 0; // the layout's alignment gap
    INT nSizeMin = 0;
    INT nSizeMax = 0;

    std::array<BYTE, kBytes> ToBytes() const;
    static CHOOSEFONT FromBytes(std::span<const BYTE, kBytes> bytes);

    friend bool operator==(const CHOOSEFONT&, const CHOOSEFONT&) = default;
};
