#pragma once
#include "platform/WinTypes.h"

// The eight colours cells are painted in; reset to these whenever the settings are applied.
struct CellColours {
    COLORREF wallPen = RGB(0, 0, 0);
    COLORREF erased = RGB(208, 208, 64);
    COLORREF blackened = RGB(0, 0, 0);
    COLORREF solution = RGB(128, 128, 240);
    COLORREF start = RGB(0, 255, 0);
    COLORREF hiddenStart = RGB(192, 255, 192);
    COLORREF stop = RGB(255, 0, 0);
    COLORREF hiddenStop = RGB(255, 192, 192);

    friend bool operator==(const CellColours&, const CellColours&) = default;
};
