#include "controls/ui/ColorSwatchWindow.h"

#include "platform/wx/WxRasterCopy.h"

#include <wx/dcclient.h>

ColorSwatchWindow::ColorSwatchWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                     const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    buffer_.CreateCompatibleDC(nullptr);
    Bind(wxEVT_PAINT, &ColorSwatchWindow::OnPaint, this);
}

void ColorSwatchWindow::SetColor(COLORREF color) {
    swatch_.SetColor(color);
    Refresh(false);
}

void ColorSwatchWindow::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return;
    if (pixels_.Width() != size.x || pixels_.Height() != size.y) {
        pixels_.DeleteObject();
        if (!pixels_.CreateBitmap32(size.x, size.y))
            return;
        buffer_.SelectObject(&pixels_);
    }
    swatch_.Draw(buffer_, CRect(0, 0, size.x, size.y));
    buffer_.Flush();
    WxCopyRaster(dc, *pixels_.Surface(), CRect(0, 0, size.x, size.y), 0, 0);
}
