#include "controls/ui/PickerWindow.h"

#include "controls/CFOGlobalData.h"
#include "controls/PickerMessages.h"
#include "controls/PickerModel.h"
#include "platform/wx/WxKeyStroke.h"
#include "platform/wx/WxScreenMetrics.h"

PickerWindow::PickerWindow(wxWindow* parent, wxWindowID id, const wxRect& rect,
                           std::unique_ptr<PickerModel> model)
    : wxWindow(parent, id, rect.GetPosition(), rect.GetSize(), wxWANTS_CHARS | wxBORDER_NONE,
               "CFOPickerWnd"),
      model_(std::move(model)) {
    WxRecordScreenMetrics();
    CFOGlobalData::Get().UpdateSysMetrics();
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_ARROW));
    Bind(wxEVT_PAINT, &PickerWindow::OnPaint, this);
    Bind(wxEVT_SIZE, &PickerWindow::OnSize, this);
    Bind(wxEVT_LEFT_DOWN, &PickerWindow::OnLeftDown, this);
    Bind(wxEVT_MOTION, &PickerWindow::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &PickerWindow::OnLeftUp, this);
    Bind(wxEVT_LEFT_DCLICK, &PickerWindow::OnFocusClick, this);
    Bind(wxEVT_MIDDLE_DOWN, &PickerWindow::OnFocusClick, this);
    Bind(wxEVT_MIDDLE_UP, &PickerWindow::OnFocusClick, this);
    Bind(wxEVT_MIDDLE_DCLICK, &PickerWindow::OnFocusClick, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &PickerWindow::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &PickerWindow::OnKeyDown, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &PickerWindow::OnSysColourChanged, this);
}

PickerWindow::~PickerWindow() {
    if (HasCapture())
        ReleaseMouse();
}

void PickerWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool chosen = IsChosenMessage(message);
    CallAfter([this, message, wParam, lParam, chosen] {
        OnNotification(message, wParam, lParam, chosen);
    });
}

void PickerWindow::OnNotification(UINT message, WPARAM wParam, LPARAM lParam, bool chosen) {
    if (owner_)
        owner_(message, wParam, lParam);
    if (model_->IsPopup() && !(chosen && lParam == kPickerKeepOpen))
        HideSelf();
}

void PickerWindow::Invalidate(const CRect& rect) {
    RefreshRect(wxRect(rect.left, rect.top, rect.Width(), rect.Height()), false);
}

void PickerWindow::SetCapture(bool capture) {
    if (capture && !HasCapture())
        CaptureMouse();
    else if (!capture && HasCapture())
        ReleaseMouse();
}

void PickerWindow::FocusPreviousTabItem() {
    Navigate(wxNavigationKeyEvent::IsBackward);
}

void PickerWindow::OnPaint(wxPaintEvent&) {
    painter_.Paint(*this, [this](CDC& dc, CSize) { model_->OnDraw(dc); });
}

void PickerWindow::OnSize(wxSizeEvent& event) {
    const wxSize size = GetClientSize();
    model_->SetClientRect(CRect(0, 0, size.x, size.y));
    model_->OnSize();
    Refresh(false);
    event.Skip();
}

void PickerWindow::OnLeftDown(wxMouseEvent& event) {
    SetCapture(true);
    SetFocus();
    model_->OnTrackMouse(CPoint(event.GetX(), event.GetY()));
}

void PickerWindow::OnMotion(wxMouseEvent& event) {
    if (HasCapture())
        model_->OnTrackMouse(CPoint(event.GetX(), event.GetY()));
}

void PickerWindow::OnLeftUp(wxMouseEvent& event) {
    SetCapture(false);
    model_->OnLButtonUp(CPoint(event.GetX(), event.GetY()));
    event.Skip();
}

void PickerWindow::OnFocusClick(wxMouseEvent& event) {
    SetFocus();
    event.Skip();
}

void PickerWindow::OnCaptureLost(wxMouseCaptureLostEvent&) {
    model_->OnCancelMode();
}

void PickerWindow::OnKeyDown(wxKeyEvent& event) {
    const KeyStroke stroke = WxKeyStroke(event);
    model_->OnKeyDown(stroke.key, stroke.shift);
}

void PickerWindow::OnSysColourChanged(wxSysColourChangedEvent& event) {
    CFOGlobalData::Get().UpdateSysColors();
    Refresh(true);
    event.Skip();
}
