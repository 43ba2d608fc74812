#include "controls/ui/CFODropColorButton.h"

#include "controls/DropButtonFace.h"
#include "controls/ui/CFOPopupColorPaletteWnd.h"

CFODropColorButton::CFODropColorButton(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                       const wxSize& size)
    : DropButtonWindow(parent, id, pos, size, DropButtonLogic::Kind::Colour, RGB(255, 255, 255)) {}

PickerPopup* CFODropColorButton::MakePopup(DWORD value, PickerWindow::Owner answer) {
    return new CFOPopupColorPaletteWnd(this, value, 200, 150, std::move(answer));
}

void CFODropColorButton::Draw(CDC& dc, CSize client, bool focused) {
    DropButtonFace::DrawColour(dc, client, {Logic().IsDropped(), focused, !IsEnabled()},
                               Logic().GetValue());
}
