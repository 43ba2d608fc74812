#pragma once
#include <wx/dialog.h>

class CImageSettingsDialog;
class wxSlider;
class wxStaticBitmap;
class wxStaticText;

// The image settings dialog's window: the picture's size, depth and transparency, and a slider
// that sets its opacity with a live preview.
class ImageSettingsWindow : public wxDialog {
public:
    ImageSettingsWindow(wxWindow* parent, CImageSettingsDialog& values);

private:
    void ShowValues();
    void OnSlider(wxCommandEvent& event);

    CImageSettingsDialog& values_;
    wxSlider* slider_;
    wxStaticText* percent_;
    wxStaticText* wide_;
    wxStaticText* high_;
    wxStaticText* bpp_;
    wxStaticText* transparency_;
    wxStaticBitmap* preview_;
};
