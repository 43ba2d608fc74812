#pragma once
#include "platform/CRect.h"

class CDC;

// The sixteen numbered frames the picker models draw around themselves (1 to 16; any other
// number draws nothing). Style 1 draws outside the rectangle and enlarges it by 2.
class PickerBorder {
public:
    // With `liveButtonColours` styles 1 to 4 read the button face and shadow from the desktop
    // table at drawing time rather than from the library's cached colours.
    static void Draw(CDC& dc, CRect& rect, int style, bool liveButtonColours = false);
    // A one-pixel outline through the corners, right and bottom edges at right - 1, bottom - 1.
    static void Outline(CDC& dc, const CRect& rect, COLORREF color);
};
