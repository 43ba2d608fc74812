#pragma once
#include "controls/IPickerHost.h"
#include "controls/ui/OffscreenPainter.h"

#include <wx/window.h>

#include <functional>
#include <memory>

class PickerModel;

// The window a picker model lives in: it forwards mouse, keys and size to the model, paints
// what the model draws (through an off-screen raster, so nothing flickers), and passes the
// model's notifications on to its owner. In popup use a choice, a cancel or "Custom..." hides
// it; keyboard steps (lParam 100) do not.
class PickerWindow : public wxWindow, public IPickerHost {
public:
    using Owner = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    ~PickerWindow() override;

    void SetOwner(Owner owner) { owner_ = std::move(owner); }
    PickerModel& Model() { return *model_; }

    void Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Invalidate(const CRect& rect) override;
    void Hide() override { HideSelf(); }
    void SetCapture(bool capture) override;
    void FocusPreviousTabItem() override;

protected:
    PickerWindow(wxWindow* parent, wxWindowID id, const wxRect& rect,
                 std::unique_ptr<PickerModel> model);
    // The step that takes the window off the screen; popups replace it.
    virtual void HideSelf() { wxWindow::Hide(); }
    // A notification the model posted: `chosen` marks the "colour chosen" kind, whose
    // keyboard steps keep a popup open.
    virtual void OnNotification(UINT message, WPARAM wParam, LPARAM lParam, bool chosen);
    virtual bool IsChosenMessage(UINT message) const = 0;

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnFocusClick(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);

    std::unique_ptr<PickerModel> model_;
    Owner owner_;
    OffscreenPainter painter_;
};
