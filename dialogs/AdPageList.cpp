#include "dialogs/AdPageList.h"

#include <fstream>
#include <iterator>

AdPageList::Load AdPageList::LoadFrom(const std::string& htmlFolder) {
    std::string folder = htmlFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    std::ifstream file(folder + kFileName, std::ios::binary);
    if (!file)
        return Load::FileError;
    std::string text;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMaxFileBytes)
            return Load::FileError;
    }
    if (file.bad())
        return Load::FileError;

    std::vector<CAdList> entries;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        CAdList entry;
        if (CAdList::FromLine(line, folder, entry) == CAdList::Parse::Entry)
            entries.push_back(std::move(entry));
    }
    if (entries.size() < kMinEntries)
        return Load::TooFew;
    entries_ = std::move(entries);
    return Load::Ok;
}

std::size_t AdPageList::NextAfter(const std::string& lastId) const {
    std::size_t next = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].pageId == lastId)
            next = i + 1;
    return next >= entries_.size() ? 0 : next;
}
