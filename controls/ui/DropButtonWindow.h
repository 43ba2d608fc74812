#pragma once
#include "controls/DropButtonLogic.h"
#include "controls/IDropButtonHost.h"
#include "controls/ui/OffscreenPainter.h"
#include "controls/ui/PickerWindow.h"

#include <wx/control.h>

#include <functional>

class PickerPopup;

// A drop-down button window: it sizes itself to its arrow, paints through the toolkit-free
// face, drops its popup below itself on a click, Space or Down, and tells its parent what
// the popup answered (EVT_FO_PICKER, handled at once).
class DropButtonWindow : public wxControl, public IDropButtonHost {
public:
    ~DropButtonWindow() override;

    DropButtonLogic& Logic() { return logic_; }
    const DropButtonLogic& Logic() const { return logic_; }
    PickerPopup* Popup() { return popup_; }

    bool OpenPopup(DWORD value) override;
    void ClosePopup() override;
    void SendToOwner(UINT message, WPARAM wParam) override;
    void Repaint() override { Refresh(false); }
    bool RunCustomDialog(COLORREF& color) override;
    // Replaces the dialog behind "Custom..." (More Colors by default).
    void SetCustomDialog(std::function<bool(COLORREF&)> dialog) { dialog_ = std::move(dialog); }

protected:
    DropButtonWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                     DropButtonLogic::Kind kind, DWORD value);
    // A new popup for `value` whose answers go to `answer`.
    virtual PickerPopup* MakePopup(DWORD value, PickerWindow::Owner answer) = 0;
    virtual void Draw(CDC& dc, CSize client, bool focused) = 0;
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);
    void OnAnswer(int popup, UINT message, WPARAM wParam, LPARAM lParam);

    DropButtonLogic logic_;
    std::function<bool(COLORREF&)> dialog_;
    PickerPopup* popup_ = nullptr; // a top-level window, destroyed by wx
    OffscreenPainter painter_;
};
