#pragma once
#include "controls/CFOLineTypeControl.h"
#include "controls/PickerMessages.h"
#include "controls/ui/PickerWindow.h"

// The window of the line-type picker.
class CFOLineTypeWnd : public PickerWindow {
public:
    CFOLineTypeWnd(wxWindow* parent, wxWindowID id, const wxRect& rect, int lineType,
                   bool autoHide);

    CFOLineTypeControl& Control() { return static_cast<CFOLineTypeControl&>(Model()); }

protected:
    bool IsChosenMessage(UINT message) const override { return message == WM_FO_SELECTLINETYPE; }
};
