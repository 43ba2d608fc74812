#pragma once
#include "platform/CRect.h"

#include <string>

// The static window a hyperlink model lives in.
class IHyperLinkHost {
public:
    virtual ~IHyperLinkHost() = default;
    virtual std::string WindowText() const = 0;
    virtual void SetWindowText(const std::string& text) = 0;
    // The window's rectangle in its parent's client coordinates, and moving it there.
    virtual CRect WindowRect() const = 0;
    virtual void MoveTo(const CRect& rect) = 0;
    // Width and height of `text` in the link font.
    virtual CSize MeasureText(const std::string& text) = 0;
    virtual void SetTooltip(const std::string& text) = 0;
    virtual void SetCapture(bool capture) = 0;
    virtual void Redraw() = 0;
    virtual void Bell() = 0;
};
