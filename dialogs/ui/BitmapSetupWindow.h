#pragma once
#include <wx/dialog.h>

class BitmapSetup;
class wxCheckBox;
class wxTextCtrl;

// The export size dialog's window. OK takes the controls into the values, or shows why a
// value is refused, puts the focus on it and stays open.
class BitmapSetupWindow : public wxDialog {
public:
    BitmapSetupWindow(wxWindow* parent, BitmapSetup& values);

private:
    void OnOk(wxCommandEvent& event);

    BitmapSetup& values_;
    wxCheckBox* screenResolution_;
    wxTextCtrl* x_;
    wxTextCtrl* y_;
    wxTextCtrl* count_;
};
