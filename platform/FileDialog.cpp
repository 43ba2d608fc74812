#include "platform/FileDialog.h"

#include "platform/MessageBox.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

IFileDialog*& CurrentDialog() {
    static HeadlessFileDialog headless;
    static IFileDialog* current = &headless;
    return current;
}

bool SameExtension(const std::filesystem::path& path, const std::string& extension) {
    const std::string own = path.extension().string();
    return own.size() == extension.size() + 1 &&
           std::equal(extension.begin(), extension.end(), own.begin() + 1, [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::filesystem::path NameToWrite(const std::string& typed, const FileDialogRequest& request) {
    const std::string& extension = request.defaultExtension;
    std::filesystem::path path(typed);
    if (extension.empty() || !path.has_filename())
        return path;
    if (!path.has_extension() || (request.extensionRequired && !SameExtension(path, extension)))
        path += "." + extension;
    return path;
}

bool MayReplace(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;
    const std::string text =
        path.filename().string() + " already exists.\nDo you want to replace it?";
    return AfxMessageBox(text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

} // namespace

IFileDialog& IFileDialog::Current() {
    return *CurrentDialog();
}

FileDialogAnswer IFileDialog::Ask(const FileDialogRequest& request) {
    FileDialogRequest asked = request;
    for (;;) {
        FileDialogAnswer answer = Current().Show(asked);
        if (!answer.ok || asked.open)
            return answer;
        // The extension is part of the name before anything is checked, so that a typed
        // "m1" cannot replace "m1.wkz" unasked.
        const std::filesystem::path path = NameToWrite(answer.path, asked);
        answer.path = path.string();
        if (!(asked.flags & OFN_OVERWRITEPROMPT) || MayReplace(path))
            return answer;
        asked.fileName = path.filename().string();
        asked.filterIndex = answer.filterIndex;
    }
}

IFileDialog::Installation::Installation(IFileDialog& dialog) : previous_(CurrentDialog()) {
    CurrentDialog() = &dialog;
}
IFileDialog::Installation::~Installation() {
    CurrentDialog() = previous_;
}

std::vector<IFileDialog::FilterEntry> IFileDialog::ParseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        const std::size_t end = bar == std::string::npos ? filter.size() : bar;
        parts.push_back(filter.substr(start, end - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::vector<FilterEntry> entries;
    // An empty text ends the list (the "||" terminator).
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2)
        entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

FileDialogAnswer ScriptedFileDialog::Show(const FileDialogRequest& request) {
    requests_.push_back(request);
    if (answers_.empty())
        return {};
    FileDialogAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}
