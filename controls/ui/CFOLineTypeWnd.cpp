#include "controls/ui/CFOLineTypeWnd.h"

CFOLineTypeWnd::CFOLineTypeWnd(wxWindow* parent, wxWindowID id, const wxRect& rect, int lineType,
                               bool autoHide)
    : PickerWindow(parent, id, rect, std::make_unique<CFOLineTypeControl>()) {
    const wxSize size = GetClientSize();
    Control().Create(this, lineType, CRect(0, 0, size.x, size.y), autoHide);
    Update();
}
