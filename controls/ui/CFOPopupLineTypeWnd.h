#pragma once
#include "controls/ui/CFOLineTypeWnd.h"
#include "controls/ui/PickerPopup.h"

// The line-type picker as the drop-down of a line-type button.
class CFOPopupLineTypeWnd : public PickerPopup {
public:
    CFOPopupLineTypeWnd(wxWindow* parent, int lineType, int width, int height,
                        PickerWindow::Owner owner);

    CFOLineTypeWnd& Picker() { return *picker_; }

protected:
    void Commit() override;

private:
    CFOLineTypeWnd* picker_; // a child window, owned by wx
};
