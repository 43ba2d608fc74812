#include "controls/ui/CFODropPaletteWnd.h"

CFODropPaletteWnd::CFODropPaletteWnd(wxWindow* parent, wxWindowID id, const wxRect& rect,
                                     COLORREF color, bool autoHide)
    : PickerWindow(parent, id, rect, std::make_unique<CFODropPaletteControl>()) {
    const wxSize size = GetClientSize();
    Control().Create(this, color, CRect(0, 0, size.x, size.y), autoHide);
    Update();
}
