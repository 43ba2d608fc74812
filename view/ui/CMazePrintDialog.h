#pragma once
#include <wx/dialog.h>

class MazePrintDialogValues;
class wxCheckBox;
class wxTextCtrl;

// The print options dialog: which page kinds print, the layers of each, and how many mazes.
// PRINT (and Select Printer, which also asks for the printer) takes the controls into the
// values, or shows why the count is refused and stays open.
class CMazePrintDialog : public wxDialog {
public:
    CMazePrintDialog(wxWindow* parent, MazePrintDialogValues& values);

private:
    void OnPageKind(wxCommandEvent& event);
    void OnSelectPrinter(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);
    bool Accept();
    void EnableLayerBoxes();

    MazePrintDialogValues& values_;
    wxCheckBox* maze_;
    wxCheckBox* solution_;
    wxCheckBox* compatible_;
    wxCheckBox* layers_[8];
    wxTextCtrl* count_;
};
