#include "app/RecentFileList.h"

#include "platform/CProfile.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string EntryName(std::size_t index) {
    // Appended, not added: GCC 12 at -O3 reports a false overlap (-Wrestrict) for a literal
    // added in front of a string.
    std::string key("File");
    return key.append(std::to_string(index + 1));
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

void RecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    const std::string absolute = Absolute(path);
    std::erase(files_, absolute);
    files_.insert(files_.begin(), absolute);
    if (files_.size() > kSize)
        files_.resize(kSize);
}

void RecentFileList::Remove(const std::string& path) {
    std::erase(files_, path);
}

void RecentFileList::Load(const CProfile& profile) {
    files_.clear();
    for (std::size_t i = 0; i < kSize; ++i) {
        const std::string path = profile.GetProfileString(kSection, EntryName(i));
        if (!path.empty() && std::find(files_.begin(), files_.end(), path) == files_.end())
            files_.push_back(path);
    }
}

bool RecentFileList::Save(CProfile& profile) const {
    CProfile::Batch batch(profile);
    bool ok = true;
    for (std::size_t i = 0; i < kSize; ++i)
        ok = profile.WriteProfileString(kSection, EntryName(i),
                                        i < files_.size() ? files_[i] : std::string()) &&
             ok;
    return ok;
}

std::string RecentFileList::MenuText(std::size_t index) const {
    if (index >= files_.size())
        return {};
    // An ampersand in a file name would underline the next letter instead of showing.
    std::string name;
    for (char c : files_[index]) {
        name += c;
        if (c == '&')
            name += '&';
    }
    std::string text("&");
    return text.append(std::to_string(index + 1)).append(" ").append(name);
}
