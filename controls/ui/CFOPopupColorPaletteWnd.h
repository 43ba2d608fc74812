#pragma once
#include "controls/ui/CFODropColorPaletteWnd.h"
#include "controls/ui/PickerPopup.h"

// The 48-colour palette as the drop-down of a colour button.
class CFOPopupColorPaletteWnd : public PickerPopup {
public:
    // A palette of `width` x `height` pixels showing `color`; notifications go to `owner`.
    CFOPopupColorPaletteWnd(wxWindow* parent, COLORREF color, int width, int height,
                            PickerWindow::Owner owner);

    CFODropColorPaletteWnd& Palette() { return *palette_; }

protected:
    void Commit() override;

private:
    CFODropColorPaletteWnd* palette_; // a child window, owned by wx
};
