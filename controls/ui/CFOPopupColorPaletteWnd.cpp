#include "controls/ui/CFOPopupColorPaletteWnd.h"

CFOPopupColorPaletteWnd::CFOPopupColorPaletteWnd(wxWindow* parent, COLORREF color, int width,
                                                 int height, PickerWindow::Owner owner)
    : PickerPopup(parent), palette_(new PopupHosted<CFODropColorPaletteWnd>(
                               *this, wxID_ANY, wxRect(0, 0, width, height), color, true)) {
    palette_->SetOwner(std::move(owner));
    SetHost(palette_);
}

void CFOPopupColorPaletteWnd::Commit() {
    CFODropColorPaletteControl& control = palette_->Control();
    control.NotifySelect(control.GetCurrentColor(), 0);
}
