#include "platform/wx/WxFileDialog.h"

#include "platform/wx/WxDialogParent.h"

#include <wx/app.h>
#include <wx/filedlg.h>

#include <algorithm>

namespace {

// "*.bmp" as "*.[bB][mM][pP]": each letter of the pattern in both cases.
std::string AnyCase(const std::string& pattern) {
    std::string out;
    bool inClass = false;
    for (const char c : pattern) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (c == '[')
            inClass = true;
        else if (c == ']')
            inClass = false;
        if (!letter || inClass) {
            out += c;
            continue;
        }
        const char lower = static_cast<char>(c | 0x20);
        out += '[';
        out += lower;
        out += static_cast<char>(lower & ~0x20);
        out += ']';
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

std::string WxFileDialog::Wildcard(const std::string& filter, bool anyCase) {
    std::string out;
    for (const auto& e : IFileDialog::ParseFilter(filter)) {
        if (!out.empty())
            out += '|';
        // "*.*" means every file, which on this system must be "*" so that names without a
        // dot show too.
        std::string patterns;
        std::size_t from = 0;
        while (from <= e.pattern.size()) {
            const std::size_t end = std::min(e.pattern.find(';', from), e.pattern.size());
            std::string one = e.pattern.substr(from, end - from);
            if (one == "*.*")
                one = "*";
            else if (anyCase)
                one = AnyCase(one);
            patterns += (patterns.empty() ? "" : ";") + one;
            from = end + 1;
        }
        out += e.text + '|' + patterns;
    }
    return out;
}

FileDialogAnswer WxFileDialog::Show(const FileDialogRequest& request) {
    wxWindow* parent = WxDialogParent();
    wxFileDialog dialog(parent, request.open ? "Open" : "Save As", wxEmptyString,
                        wxString::FromUTF8(request.fileName),
                        wxString::FromUTF8(Wildcard(request.filter, request.open)), Style(request));
    dialog.SetFilterIndex(request.filterIndex > 0 ? request.filterIndex - 1 : 0);
    if (dialog.ShowModal() != wxID_OK)
        return {};
    return {true, dialog.GetPath().utf8_string(), dialog.GetFilterIndex() + 1};
}
