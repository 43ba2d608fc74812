#include "controls/ui/CustomStaticWindow.h"

#include "platform/wx/WxRasterCopy.h"

#include <wx/dcclient.h>

CustomStaticWindow::CustomStaticWindow(wxWindow* parent, wxWindowID id, const wxString& text,
                                       const wxPoint& pos, const wxSize& size,
                                       std::unique_ptr<CFOCustomStatic> model)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE), model_(std::move(model)) {
    SetLabel(text);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    buffer_.CreateCompatibleDC(nullptr);
    model_->SetHost(this);
    Bind(wxEVT_PAINT, &CustomStaticWindow::OnPaint, this);
}

std::string CustomStaticWindow::WindowText() const {
    return GetLabel().utf8_string();
}

CFont* CustomStaticWindow::WindowFont() {
    return CFont::Stock(DEFAULT_GUI_FONT);
}

CRect CustomStaticWindow::ClientRect() const {
    const wxSize size = GetClientSize();
    return {0, 0, size.x, size.y};
}

void CustomStaticWindow::Resize(CSize size) {
    SetSize(size.cx, size.cy);
}

void CustomStaticWindow::OnPaint(wxPaintEvent&) {
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
    // Each paint starts from a clean state: the model clips while it draws.
    buffer_.SaveDC();
    model_->OnPaint(buffer_);
    buffer_.RestoreDC(-1);
    buffer_.Flush();
    WxCopyRaster(dc, *pixels_.Surface(), CRect(0, 0, size.x, size.y), 0, 0);
}
