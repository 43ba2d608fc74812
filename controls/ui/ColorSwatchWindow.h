#pragma once
#include "controls/CFOColorButton.h"
#include "controls/ui/OffscreenPainter.h"

#include <wx/window.h>

// The window of the New/Current swatch.
class ColorSwatchWindow : public wxWindow {
public:
    ColorSwatchWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

    CFOColorButton& Swatch() { return swatch_; }
    void SetColor(COLORREF color);

private:
    void OnPaint(wxPaintEvent& event);

    CFOColorButton swatch_;
    OffscreenPainter painter_;
};
