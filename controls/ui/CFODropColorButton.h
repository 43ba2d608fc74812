#pragma once
#include "controls/ui/DropButtonWindow.h"

// A button showing a colour; it drops the 48-colour palette.
class CFODropColorButton : public DropButtonWindow {
public:
    CFODropColorButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                       const wxSize& size = wxDefaultSize);

    COLORREF GetColor() const { return Logic().GetValue(); }
    // Stores the colour; the caller repaints when the button shows.
    void SetColor(COLORREF color) { Logic().SetValue(color); }

protected:
    PickerPopup* MakePopup(DWORD value, PickerWindow::Owner answer) override;
    void Draw(CDC& dc, CSize client, bool focused) override;
};

// Moves a colour between `color` and the colour button `id` on `page`: into `color` when
// `saving`, else into the button. False when `page` holds no such button.
bool DDX_FODropColorButton(const wxWindow& page, int id, COLORREF& color, bool saving);
