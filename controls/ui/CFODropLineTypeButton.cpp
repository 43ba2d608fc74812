#include "controls/ui/CFODropLineTypeButton.h"

#include "controls/DropButtonFace.h"
#include "controls/ui/CFOPopupLineTypeWnd.h"

CFODropLineTypeButton::CFODropLineTypeButton(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                             const wxSize& size)
    : DropButtonWindow(parent, id, pos, size, DropButtonLogic::Kind::LineType, PS_SOLID) {}

PickerPopup* CFODropLineTypeButton::MakePopup(DWORD value, PickerWindow::Owner answer) {
    return new CFOPopupLineTypeWnd(this, static_cast<int>(value), 155, 125, std::move(answer));
}

void CFODropLineTypeButton::Draw(CDC& dc, CSize client, bool focused) {
    DropButtonFace::DrawLineType(dc, client, {Logic().IsDropped(), focused, !IsEnabled()},
                                 static_cast<int>(Logic().GetValue()), lineColor_);
}

bool DDX_FODropLineTypeButton(const wxWindow& page, int id, int& lineType, bool saving) {
    auto* button = dynamic_cast<CFODropLineTypeButton*>(page.FindWindow(id));
    if (!button)
        return false;
    if (saving)
        lineType = button->GetLineType();
    else
        button->SetLineType(lineType);
    return true;
}
