#include "controls/ui/CFOPopupLineTypeWnd.h"

CFOPopupLineTypeWnd::CFOPopupLineTypeWnd(wxWindow* parent, int lineType, int width, int height,
                                         PickerWindow::Owner owner)
    : PickerPopup(parent), picker_(new PopupHosted<CFOLineTypeWnd>(
                               *this, wxID_ANY, wxRect(0, 0, width, height), lineType, true)) {
    picker_->SetOwner(std::move(owner));
    SetHost(picker_);
}

void CFOPopupLineTypeWnd::Commit() {
    CFOLineTypeControl& control = picker_->Control();
    control.NotifySelect(control.GetCurrentLineType(), 0);
}
