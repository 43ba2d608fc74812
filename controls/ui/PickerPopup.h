#pragma once
#include "platform/CRect.h"

#include <wx/popupwin.h>

class PickerWindow;

// A drop-down picker: a transient popup holding a picker window. Each opening reports exactly
// one outcome: a choice, a cancel or "Custom..." answers it and closes it; closing it any other
// way (a click outside, a lost grab) commits the value shown at that moment.
class PickerPopup : public wxPopupTransientWindow {
public:
    // Shows the popup beside `anchor` (screen coordinates): below it with `dropDown`, else
    // to its right; the hosted picker takes the focus.
    void Open(const CRect& anchor, bool dropDown);
    bool IsAnswered() const { return answered_; }
    // The hosted picker answered: close without committing anything more.
    void Answer();

protected:
    explicit PickerPopup(wxWindow* parent);
    void SetHost(PickerWindow* host);
    // Reports the value shown as chosen.
    virtual void Commit() = 0;
    void OnDismiss() override;

private:
    PickerWindow* host_ = nullptr;
    bool open_ = false;
    bool answered_ = false;
};

// A picker window inside a popup: where it would hide itself it answers the popup instead.
template <typename Window> class PopupHosted : public Window {
public:
    template <typename... Args>
    PopupHosted(PickerPopup& popup, Args&&... args)
        : Window(&popup, std::forward<Args>(args)...), popup_(popup) {}

protected:
    void HideSelf() override { popup_.Answer(); }

private:
    PickerPopup& popup_;
};
