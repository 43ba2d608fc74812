#pragma once
#include <wx/dialog.h>

#include <string>

class wxRichTextCtrl;

// The "Help" dialog: the help file shown as formatted, read-only text. It reads the file on
// every showing so a second showing is never empty.
class CPopupHelp : public wxDialog {
public:
    CPopupHelp(wxWindow* parent, std::string helpFolder);
    bool Show(bool show = true) override;
    int ShowModal() override;

    wxRichTextCtrl& Text() { return *text_; }

private:
    void Load();

    std::string helpFolder_;
    wxRichTextCtrl* text_;
};
