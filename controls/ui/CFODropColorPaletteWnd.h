#pragma once
#include "controls/CFODropColorPaletteControl.h"
#include "controls/PickerMessages.h"
#include "controls/ui/PickerWindow.h"

// The window of the 48-colour palette, as a child of a dialog or inside a popup.
class CFODropColorPaletteWnd : public PickerWindow {
public:
    // `rect` in the parent's client coordinates; with `popup` the palette draws its caption
    // bar, answers Enter and Escape, and hides after a choice.
    CFODropColorPaletteWnd(wxWindow* parent, wxWindowID id, const wxRect& rect, COLORREF color,
                           bool popup);

    CFODropColorPaletteControl& Control() {
        return static_cast<CFODropColorPaletteControl&>(Model());
    }

protected:
    bool IsChosenMessage(UINT message) const override { return message == WM_FO_SELECTCOLOR; }
};
