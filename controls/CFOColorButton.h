#pragma once
#include "platform/CRect.h"

class CDC;

// The two-part swatch of the More Colors dialog: the new colour above the one it started with.
class CFOColorButton {
public:
    void SetColor(COLORREF color) { color_ = color; }
    void SetSecondColor(COLORREF color) { second_ = color; }
    COLORREF GetColor() const { return color_; }
    COLORREF GetSecondColor() const { return second_; }

    void Draw(CDC& dc, const CRect& item) const;

private:
    COLORREF second_ = 0;
    COLORREF color_ = RGB(255, 255, 255);
};
