#pragma once
#include "controls/ui/DropButtonWindow.h"

// A button showing a pen style; it drops the line-type picker.
class CFODropLineTypeButton : public DropButtonWindow {
public:
    CFODropLineTypeButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                          const wxSize& size = wxDefaultSize);

    int GetLineType() const { return static_cast<int>(Logic().GetValue()); }
    void SetLineType(int lineType) { Logic().SetValue(static_cast<DWORD>(lineType)); }

protected:
    PickerPopup* MakePopup(DWORD value, PickerWindow::Owner answer) override;
    void Draw(CDC& dc, CSize client, bool focused) override;

private:
    COLORREF lineColor_ = RGB(0, 0, 0);
};

// The pen style's counterpart of DDX_FODropColorButton.
bool DDX_FODropLineTypeButton(const wxWindow& page, int id, int& lineType, bool saving);
