#include "platform/wx/WxFileDialog.h"

#include <wx/app.h>
#include <wx/filedlg.h>

namespace {

// The toolkit's wildcard string: the same pairs without the terminator; "*.*" means every
// file, which on this system must be "*" so that names without a dot show too.
wxString Wildcard(const std::string& filter) {
    wxString out;
    for (const auto& e : IFileDialog::ParseFilter(filter)) {
        if (!out.empty())
            out += '|';
        const std::string pattern = e.pattern == "*.*" ? "*" : e.pattern;
        out += wxString::FromUTF8(e.text) + '|' + wxString::FromUTF8(pattern);
    }
    return out;
}

long Style(const FileDialogRequest& r) {
    if (r.open)
        return wxFD_OPEN | ((r.flags & OFN_FILEMUSTEXIST) ? wxFD_FILE_MUST_EXIST : 0);
    // The overwrite question is asked by IFileDialog::Ask once the extension is added.
    return wxFD_SAVE;
}

} // namespace

FileDialogAnswer WxFileDialog::Show(const FileDialogRequest& request) {
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxFileDialog dialog(parent, request.open ? "Open" : "Save As", wxEmptyString,
                        wxString::FromUTF8(request.fileName), Wildcard(request.filter),
                        Style(request));
    dialog.SetFilterIndex(request.filterIndex > 0 ? request.filterIndex - 1 : 0);
    if (dialog.ShowModal() != wxID_OK)
        return {};
    return {true, dialog.GetPath().utf8_string(), dialog.GetFilterIndex() + 1};
}
