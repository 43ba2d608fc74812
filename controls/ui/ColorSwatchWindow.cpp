#include "controls/ui/ColorSwatchWindow.h"

ColorSwatchWindow::ColorSwatchWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                     const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &ColorSwatchWindow::OnPaint, this);
}

void ColorSwatchWindow::SetColor(COLORREF color) {
    swatch_.SetColor(color);
    Refresh(false);
}

void ColorSwatchWindow::OnPaint(wxPaintEvent&) {
    painter_.Paint(
        *this, [this](CDC& dc, CSize size) { swatch_.Draw(dc, CRect(0, 0, size.cx, size.cy)); });
}
