#pragma once
#include "dialogs/ColourPage.h"

#include <wx/panel.h>

// The "Color" page's window: the eight drop colour buttons and "Restore Defaults". Data
// transfer moves the colours between the buttons and the page's values.
class ColourPagePanel : public wxPanel, public IColourPageView {
public:
    ColourPagePanel(wxWindow* parent, PP6& values);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    // "Restore Defaults" was used since the page was made.
    bool IsChanged() const { return changed_; }

    bool GetButtonColor(int id, COLORREF& color) const override;
    void SetButtonColor(int id, COLORREF color) override;
    void MarkChanged() override { changed_ = true; }
    void Repaint() override { Refresh(false); }

private:
    ColourPage page_;
    bool changed_ = false;
};
