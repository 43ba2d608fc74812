#include "controls/ui/DropButtonWindow.h"

#include "controls/DropButtonFace.h"
#include "controls/PickerMessages.h"
#include "controls/ui/CFOColorDialog.h"
#include "controls/ui/PickerEvent.h"
#include "controls/ui/PickerPopup.h"
#include "platform/wx/WxScreenMetrics.h"

DropButtonWindow::DropButtonWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                   const wxSize& size, DropButtonLogic::Kind kind, DWORD value)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxWANTS_CHARS), logic_(*this, kind, value) {
    WxRecordScreenMetrics();
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const wxSize now = GetSize();
    const CSize fit = DropButtonFace::FitSize(CSize(now.x, now.y));
    SetSize(fit.cx, fit.cy);
    SetInitialSize(wxSize(fit.cx, fit.cy));
    Bind(wxEVT_PAINT, &DropButtonWindow::OnPaint, this);
    Bind(wxEVT_LEFT_UP, &DropButtonWindow::OnLeftDown, this);
    Bind(wxEVT_KEY_DOWN, &DropButtonWindow::OnKeyDown, this);
    Bind(wxEVT_SET_FOCUS, &DropButtonWindow::OnFocus, this);
    Bind(wxEVT_KILL_FOCUS, &DropButtonWindow::OnFocus, this);
}

DropButtonWindow::~DropButtonWindow() {
    // An open popup holds the pointer grab; let it go before the popup goes with its parent.
    if (popup_ && popup_->IsShown())
        popup_->Answer();
}

wxSize DropButtonWindow::DoGetBestSize() const {
    const wxSize now = GetSize();
    const CSize fit = DropButtonFace::FitSize(CSize(now.x, now.y));
    return {fit.cx, fit.cy};
}

bool DropButtonWindow::OpenPopup(DWORD value) {
    const int number = logic_.PopupNumber();
    popup_ = MakePopup(value, [this, number](UINT message, WPARAM wParam, LPARAM lParam) {
        OnAnswer(number, message, wParam, lParam);
    });
    if (!popup_)
        return false;
    const wxRect r = GetScreenRect();
    popup_->Open(CRect(r.x, r.y, r.x + r.width, r.y + r.height), true);
    return true;
}

void DropButtonWindow::ClosePopup() {
    PickerPopup* popup = popup_;
    popup_ = nullptr;
    if (!popup)
        return;
    if (popup->IsShown())
        popup->Answer();
    // Never inside the popup's own handler: the answer that closes it may still be running.
    CallAfter([popup] { popup->Destroy(); });
}

void DropButtonWindow::SendToOwner(UINT message, WPARAM wParam) {
    wxWindow* owner = GetParent();
    if (!owner)
        return;
    PickerEvent event(message, wParam, GetId());
    event.SetEventObject(this);
    owner->ProcessWindowEvent(event);
}

bool DropButtonWindow::RunCustomDialog(COLORREF& color) {
    if (dialog_)
        return dialog_(color);
    // Parented to the button's window: without a parent the desktop may open it behind.
    CFOColorDialog dialog(wxGetTopLevelParent(this));
    dialog.SetColor(color);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    color = dialog.GetColor();
    return true;
}

void DropButtonWindow::OnAnswer(int popup, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_FO_SELECTCOLOR:
    case WM_FO_SELECTLINETYPE:
        logic_.OnChosen(popup, wParam, lParam);
        break;
    case WM_FO_CANCELCOLOR:
    case WM_FO_CANCELLINETYPE:
        logic_.OnCancelled(popup, wParam);
        break;
    case WM_FO_CUSTOMCOLOR:
    case WM_FO_CUSTOMLINETYPE:
        logic_.OnCustom(popup, wParam);
        break;
    default:
        break;
    }
}

void DropButtonWindow::OnPaint(wxPaintEvent&) {
    painter_.Paint(*this, [this](CDC& dc, CSize size) { Draw(dc, size, HasFocus()); });
}

void DropButtonWindow::OnLeftDown(wxMouseEvent& event) {
    SetFocus();
    const wxSize size = GetClientSize();
    if (event.GetX() >= 0 && event.GetY() >= 0 && event.GetX() < size.x && event.GetY() < size.y)
        logic_.OnClicked();
}

void DropButtonWindow::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_SPACE || key == WXK_DOWN || key == WXK_NUMPAD_DOWN)
        logic_.OnClicked();
    else
        event.Skip();
}

void DropButtonWindow::OnFocus(wxFocusEvent& event) {
    Refresh(false);
    event.Skip();
}
