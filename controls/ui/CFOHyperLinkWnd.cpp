#include "controls/ui/CFOHyperLinkWnd.h"

#include <wx/utils.h>

CFOHyperLinkWnd::CFOHyperLinkWnd(wxWindow* parent, wxWindowID id, const wxString& text,
                                 const wxPoint& pos, const wxSize& size, UINT style,
                                 const std::string& url)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE), link_(style) {
    SetLabel(text);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_HAND));
    Bind(wxEVT_PAINT, &CFOHyperLinkWnd::OnPaint, this);
    Bind(wxEVT_MOTION, &CFOHyperLinkWnd::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CFOHyperLinkWnd::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CFOHyperLinkWnd::OnCaptureLost, this);
    if (!url.empty())
        link_.SetURL(url);
    link_.Attach(this);
}

CFOHyperLinkWnd::~CFOHyperLinkWnd() {
    if (HasCapture())
        ReleaseMouse();
}

std::string CFOHyperLinkWnd::WindowText() const {
    return GetLabel().utf8_string();
}

void CFOHyperLinkWnd::SetWindowText(const std::string& text) {
    SetLabel(wxString::FromUTF8(text));
}

CRect CFOHyperLinkWnd::WindowRect() const {
    const wxRect r = GetRect();
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

void CFOHyperLinkWnd::MoveTo(const CRect& rect) {
    SetSize(rect.left, rect.top, rect.Width(), rect.Height());
}

CSize CFOHyperLinkWnd::MeasureText(const std::string& text) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont font;
    LOGFONT lf = CFont::Stock(DEFAULT_GUI_FONT)->Log();
    lf.lfUnderline = link_.GetUnderline() ? 1 : 0;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    CRect r(0, 0, 0, 0);
    dc.DrawText(text, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return r.Size();
}

void CFOHyperLinkWnd::SetTooltip(const std::string& text) {
    SetToolTip(wxString::FromUTF8(text));
}

void CFOHyperLinkWnd::SetCapture(bool capture) {
    if (capture && !HasCapture())
        CaptureMouse();
    else if (!capture && HasCapture())
        ReleaseMouse();
}

void CFOHyperLinkWnd::Bell() {
    wxBell();
}

void CFOHyperLinkWnd::OnPaint(wxPaintEvent&) {
    painter_.Paint(*this, [this](CDC& dc, CSize size) {
        const wxColour back = GetParent() ? GetParent()->GetBackgroundColour() : *wxWHITE;
        dc.FillSolidRect(0, 0, size.cx, size.cy, RGB(back.Red(), back.Green(), back.Blue()));
        link_.Draw(dc, CRect(0, 0, size.cx, size.cy));
    });
}

void CFOHyperLinkWnd::OnMotion(wxMouseEvent& event) {
    const wxSize size = GetClientSize();
    link_.OnMouseMove(CPoint(event.GetX(), event.GetY()), CSize(size.x, size.y));
    event.Skip();
}

void CFOHyperLinkWnd::OnLeftUp(wxMouseEvent& event) {
    const wxSize size = GetClientSize();
    if (event.GetX() >= 0 && event.GetY() >= 0 && event.GetX() < size.x && event.GetY() < size.y)
        link_.OnClicked();
    event.Skip();
}

void CFOHyperLinkWnd::OnCaptureLost(wxMouseCaptureLostEvent&) {
    const wxSize size = GetClientSize();
    link_.OnMouseMove(CPoint(-1, -1), CSize(size.x, size.y));
}
