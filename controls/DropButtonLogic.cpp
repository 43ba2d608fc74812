#include "controls/DropButtonLogic.h"

#include "controls/IDropButtonHost.h"
#include "controls/PickerMessages.h"

DropButtonLogic::DropButtonLogic(IDropButtonHost& host, Kind kind, DWORD value)
    : host_(host), kind_(kind), value_(value) {}

UINT DropButtonLogic::ChosenMessage() const {
    return kind_ == Kind::Colour ? WM_FO_SELECTCOLOR : WM_FO_SELECTLINETYPE;
}

UINT DropButtonLogic::ChangedMessage() const {
    return kind_ == Kind::Colour ? WM_FO_COLORCHANGED : WM_FO_LINETYPECHANGED;
}

void DropButtonLogic::OnClicked() {
    dropped_ = true;
    if (popupOpen_)
        host_.ClosePopup();
    ++popup_;
    popupOpen_ = host_.OpenPopup(value_);
    host_.Repaint();
}

void DropButtonLogic::Close() {
    popupOpen_ = false;
    host_.ClosePopup();
}

void DropButtonLogic::OnChosen(int popup, DWORD value, LPARAM lParam) {
    if (!Current(popup))
        return;
    const DWORD old = value_;
    if (kind_ == Kind::Colour && lParam == kPickerKeepOpen) {
        value_ = value;
    } else {
        dropped_ = false;
        value_ = value;
        Close();
    }
    host_.SendToOwner(ChosenMessage(), value);
    if (value != old)
        host_.SendToOwner(ChangedMessage(), value);
    host_.Repaint();
}

void DropButtonLogic::OnCancelled(int popup, DWORD value) {
    if (!Current(popup))
        return;
    dropped_ = false;
    value_ = value;
    Close();
    host_.SendToOwner(kind_ == Kind::Colour ? WM_FO_CANCELCOLOR : WM_FO_CANCELLINETYPE, value);
    host_.Repaint();
}

void DropButtonLogic::OnCustom(int popup, DWORD value) {
    if (!Current(popup))
        return;
    dropped_ = false;
    const DWORD old = value_;
    if (kind_ == Kind::LineType) {
        value_ = value;
        Close();
        if (value != old)
            host_.SendToOwner(WM_FO_LINETYPECHANGED, value);
        host_.Repaint();
        return;
    }
    // The popup goes first, so the dialog does not open behind a grab.
    Close();
    COLORREF chosen = value;
    if (!host_.RunCustomDialog(chosen))
        chosen = value;
    value_ = chosen;
    host_.SendToOwner(WM_FO_SELECTCOLOR, chosen);
    if (chosen != old)
        host_.SendToOwner(WM_FO_COLORCHANGED, chosen);
    host_.Repaint();
}
