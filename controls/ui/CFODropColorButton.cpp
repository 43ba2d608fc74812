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

bool DDX_FODropColorButton(const wxWindow& page, int id, COLORREF& color, bool saving) {
    auto* button = dynamic_cast<CFODropColorButton*>(page.FindWindow(id));
    if (!button)
        return false;
    if (saving)
        color = button->GetColor();
    else
        button->SetColor(color);
    return true;
}
