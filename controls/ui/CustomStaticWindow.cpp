#include "controls/ui/CustomStaticWindow.h"

CustomStaticWindow::CustomStaticWindow(wxWindow* parent, wxWindowID id, const wxString& text,
                                       const wxPoint& pos, const wxSize& size,
                                       std::unique_ptr<CFOCustomStatic> model)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE), model_(std::move(model)) {
    SetLabel(text);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
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
    painter_.Paint(*this, [this](CDC& dc, CSize) {
        // Each paint starts from a clean state: the model clips while it draws.
        dc.SaveDC();
        model_->OnPaint(dc);
        dc.RestoreDC(-1);
    });
}
