#include "controls/ui/PickerPopup.h"

#include "controls/PopupPlacement.h"
#include "controls/ui/PickerWindow.h"

#include <wx/display.h>

PickerPopup::PickerPopup(wxWindow* parent) : wxPopupTransientWindow(parent, wxBORDER_NONE) {}

void PickerPopup::SetHost(PickerWindow* host) {
    host_ = host;
    SetClientSize(host->GetSize());
}

void PickerPopup::Open(const CRect& anchor, bool dropDown) {
    const wxPoint probe(anchor.left, anchor.top);
    int index = wxDisplay::GetFromPoint(probe);
    if (index == wxNOT_FOUND)
        index = 0;
    const wxRect work = wxDisplay(static_cast<unsigned>(index)).GetClientArea();
    const wxSize size = GetSize();
    const CPoint at =
        PlacePopup(anchor, CSize(size.x, size.y),
                   CRect(work.x, work.y, work.x + work.width, work.y + work.height), dropDown);
    Move(at.x, at.y);
    answered_ = false;
    open_ = true;
    Popup(host_);
    if (host_)
        host_->SetFocus();
}

void PickerPopup::Answer() {
    if (answered_)
        return;
    answered_ = true;
    open_ = false;
    Dismiss();
}

void PickerPopup::OnDismiss() {
    if (!open_ || answered_)
        return;
    // Answered first: the commit hides the picker, which must not close the popup again.
    answered_ = true;
    open_ = false;
    Commit();
}
