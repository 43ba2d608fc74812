#include "dialogs/ui/BitmapSetupWindow.h"

#include "dialogs/BitmapSetup.h"
#include "platform/MessageBox.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

BitmapSetupWindow::BitmapSetupWindow(wxWindow* parent, BitmapSetup& values)
    : wxDialog(parent, wxID_ANY, "Bitmap Setup"), values_(values) {
    const BitmapSetup::Controls shown = values.ToControls();
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, "Bitmap Dimensions");
    auto* grid = new wxFlexGridSizer(2, wxSize(6, 6));
    x_ = new wxTextCtrl(box->GetStaticBox(), BitmapSetup::kXId, shown.x);
    y_ = new wxTextCtrl(box->GetStaticBox(), BitmapSetup::kYId, shown.y);
    grid->Add(new wxStaticText(box->GetStaticBox(), wxID_ANY, "X="), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(x_);
    grid->Add(new wxStaticText(box->GetStaticBox(), wxID_ANY, "Y="), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(y_);
    box->Add(grid, 0, wxALL, 6);
    screenResolution_ = new wxCheckBox(box->GetStaticBox(), BitmapSetup::kScreenResolutionId,
                                       "Set to Screen Resolution");
    screenResolution_->SetValue(shown.screenResolution);
    box->Add(screenResolution_, 0, wxALL, 6);

    auto* countRow = new wxBoxSizer(wxHORIZONTAL);
    count_ = new wxTextCtrl(this, BitmapSetup::kCountId, shown.count);
    count_->SetEditable(values.CountEditable());
    countRow->Add(new wxStaticText(this, wxID_ANY, "Number of mazes to render"), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    countRow->Add(count_);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(box, 0, wxALL | wxEXPAND, 8);
    top->Add(countRow, 0, wxALL, 8);
    top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &BitmapSetupWindow::OnOk, this, wxID_OK);
}

void BitmapSetupWindow::OnOk(wxCommandEvent&) {
    const BitmapSetup::Controls controls{x_->GetValue().ToStdString(), y_->GetValue().ToStdString(),
                                         screenResolution_->GetValue(),
                                         count_->GetValue().ToStdString()};
    if (auto error = values_.FromControls(controls)) {
        AfxMessageBox(error->message, MB_ICONWARNING);
        if (wxWindow* control = FindWindow(error->controlId)) {
            control->SetFocus();
            if (auto* edit = dynamic_cast<wxTextCtrl*>(control))
                edit->SelectAll();
        }
        return;
    }
    count_->SetEditable(values_.CountEditable());
    EndModal(wxID_OK);
}
