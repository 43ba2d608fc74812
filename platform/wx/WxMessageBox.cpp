#include "platform/wx/WxMessageBox.h"

#include "platform/wx/WxDialogParent.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

int WxMessageBox::Show(const std::string& text, const std::string& caption, UINT type) {
    long style = 0;
    switch (type & 0xF) {
    case MB_OKCANCEL:
        style = wxOK | wxCANCEL;
        break;
    case MB_YESNO:
        style = wxYES_NO;
        break;
    case MB_YESNOCANCEL:
        style = wxYES_NO | wxCANCEL;
        break;
    default:
        style = wxOK;
        break;
    }
    switch (type & 0xF0) {
    case MB_ICONERROR:
        style |= wxICON_ERROR;
        break;
    case MB_ICONQUESTION:
        style |= wxICON_QUESTION;
        break;
    case MB_ICONWARNING:
        style |= wxICON_WARNING;
        break;
    case MB_ICONINFORMATION:
        style |= wxICON_INFORMATION;
        break;
    default:
        break;
    }
    if (DefaultAnswer(type) == IDNO)
        style |= wxNO_DEFAULT;
    if (DefaultAnswer(type) == IDCANCEL)
        style |= wxCANCEL_DEFAULT;
    wxWindow* parent = WxDialogParent();
    wxMessageDialog dialog(parent, wxString::FromUTF8(text), wxString::FromUTF8(caption), style);
    switch (dialog.ShowModal()) {
    case wxID_OK:
        return IDOK;
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}
