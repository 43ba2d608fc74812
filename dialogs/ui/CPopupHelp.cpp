#include "dialogs/ui/CPopupHelp.h"

#include "dialogs/HelpFileReader.h"
#include "dialogs/RtfReader.h"
#include "dialogs/ui/RtfRichText.h"

#include <wx/msgdlg.h>
#include <wx/richtext/richtextctrl.h>
#include <wx/sizer.h>

namespace {
constexpr int kRichEditId = 1097;
}

CPopupHelp::CPopupHelp(wxWindow* parent, std::string helpFolder)
    : wxDialog(parent, wxID_ANY, "Help", wxDefaultPosition, wxSize(520, 420),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      helpFolder_(std::move(helpFolder)) {
    text_ = new wxRichTextCtrl(this, kRichEditId, {}, wxDefaultPosition, wxDefaultSize,
                               wxRE_MULTILINE | wxRE_READONLY);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(text_, 1, wxEXPAND | wxALL, 6);
    sizer->Add(CreateButtonSizer(wxOK), 0, wxEXPAND | wxALL, 6);
    SetSizer(sizer);
}

bool CPopupHelp::Show(bool show) {
    if (show)
        Load();
    return wxDialog::Show(show);
}

int CPopupHelp::ShowModal() {
    Load();
    return wxDialog::ShowModal();
}

void CPopupHelp::Load() {
    const HelpFileContents file = HelpFileReader::Read(helpFolder_);
    if (!file.error.empty())
        wxMessageBox(wxString::FromUTF8(file.error), "Help", wxOK | wxICON_EXCLAMATION, this);
    ShowRtfDocument(RtfReader::Read(file.bytes), *text_);
}
