#include "platform/wx/WxFileDialog.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

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
    return wxFD_SAVE | ((r.flags & OFN_OVERWRITEPROMPT) ? wxFD_OVERWRITE_PROMPT : 0);
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
    wxFileName name(dialog.GetPath());
    if (!request.open && !request.defaultExtension.empty() && !name.HasExt())
        name.SetExt(wxString::FromUTF8(request.defaultExtension));
    return {true, name.GetFullPath().utf8_string(), dialog.GetFilterIndex() + 1};
}
