#include "platform/FileDialog.h"

namespace {
IFileDialog*& CurrentDialog() {
    static HeadlessFileDialog headless;
    static IFileDialog* current = &headless;
    return current;
}
} // namespace

IFileDialog& IFileDialog::Current() {
    return *CurrentDialog();
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
