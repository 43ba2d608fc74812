#pragma once
// The in-memory forms of the drawing records the program fills and reads. Their stored byte
// layouts are written field by field by whoever stores them, never by copying these structs.
#include "platform/LOGFONT.h"
#include "platform/WinTypes.h"

struct LOGPEN {
    UINT lopnStyle = 0;
    POINT lopnWidth; // only x is used
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    UINT lbStyle = 0;
    COLORREF lbColor = 0;
    LONG lbHatch = 0;
};

// LOGFONT (platform/LOGFONT.h) also knows its stored layout.

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

// A bitmap's description; bmBits points at the top row, rows bmWidthBytes apart.
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    void* bmBits = nullptr;
};
