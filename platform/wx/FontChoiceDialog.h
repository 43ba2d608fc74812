#pragma once
#include "platform/FontDialog.h"

#include <wx/dialog.h>

class wxCheckBox;
class wxColourPickerCtrl;
class wxListBox;
class wxSpinCtrlDouble;
class wxStaticText;

// The program's own font dialog: the toolkit's chooser offers no colour, underline or
// strike-out. Family, style, size in tenths of a point, effects and colour, with a sample.
// It only shows a FontChoice; the records are made by IFontDialog::Answer.
class FontChoiceDialog : public wxDialog {
public:
    FontChoiceDialog(wxWindow* parent, const FontChoice& start);

    // What the controls hold now.
    FontChoice Choice() const;

private:
    void BuildControls();
    void ShowChoice(const FontChoice& choice);
    void UpdateSample();

    wxListBox* faces_ = nullptr;
    wxCheckBox* bold_ = nullptr;
    wxCheckBox* italic_ = nullptr;
    wxSpinCtrlDouble* size_ = nullptr;
    wxCheckBox* underline_ = nullptr;
    wxCheckBox* strikeOut_ = nullptr;
    wxColourPickerCtrl* colour_ = nullptr;
    wxStaticText* sample_ = nullptr;
};
