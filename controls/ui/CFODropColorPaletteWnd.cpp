#include "controls/ui/CFODropColorPaletteWnd.h"

#include "controls/PickerMessages.h"

CFODropColorPaletteWnd::CFODropColorPaletteWnd(wxWindow* parent, wxWindowID id, const wxRect& rect,
                                               COLORREF color, bool popup)
    : PickerWindow(parent, id, rect, std::make_unique<CFODropColorPaletteControl>()) {
    const wxSize size = GetClientSize();
    Control().Create(this, color, CRect(0, 0, size.x, size.y), popup);
    Update();
}
