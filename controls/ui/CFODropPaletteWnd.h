#pragma once
#include "controls/CFODropPaletteControl.h"
#include "controls/PickerMessages.h"
#include "controls/ui/PickerWindow.h"

// The window of the colour wheel.
class CFODropPaletteWnd : public PickerWindow {
public:
    CFODropPaletteWnd(wxWindow* parent, wxWindowID id, const wxRect& rect, COLORREF color,
                      bool autoHide);

    CFODropPaletteControl& Control() { return static_cast<CFODropPaletteControl&>(Model()); }

protected:
    bool IsChosenMessage(UINT message) const override { return message == WM_FO_SELECTCOLOR; }
};
