#include "app/ui/AboutDialog.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

void AboutDialog::Show(const std::string& text) {
    wxDialog dialog(parent_ ? parent_() : nullptr, wxID_ANY, "About Orlimber STD");
    auto* sizer = new wxBoxSizer(wxVERTICAL); // owned by the dialog
    sizer->Add(new wxStaticText(&dialog, kVersionText, wxString::FromUTF8(text)), 0, wxALL, 12);
    auto* link = new wxButton(&dialog, kLinkButton, "Orlimber on the Web");
    link->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (openHomePage_)
            openHomePage_();
    });
    sizer->Add(link, 0, wxLEFT | wxRIGHT | wxBOTTOM, 12);
    sizer->Add(dialog.CreateStdDialogButtonSizer(wxOK), 0, wxALL | wxALIGN_RIGHT, 12);
    dialog.SetSizerAndFit(sizer);
    dialog.Centre();
    dialog.ShowModal();
}
