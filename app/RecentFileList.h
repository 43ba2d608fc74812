#pragma once
#include <cstddef>
#include <string>
#include <vector>

class CProfile;

// The File menu's recent documents: newest first, each absolute path once, at most four,
// kept in the profile's "Recent File List" section as "File1".."File4".
class RecentFileList {
public:
    static constexpr std::size_t kSize = 4;
    static constexpr const char* kSection = "Recent File List";

    const std::vector<std::string>& Files() const { return files_; }
    bool Empty() const { return files_.empty(); }

    // Puts `path` (made absolute) first, dropping an older entry for it and the oldest past
    // the cap.
    void Add(const std::string& path);
    void Remove(const std::string& path);

    void Load(const CProfile& profile);
    // Writes every slot: emptied slots are written empty so a shorter list stays short.
    bool Save(CProfile& profile) const;

    // "&1 name" as the menu shows entry `index`.
    std::string MenuText(std::size_t index) const;

private:
    std::vector<std::string> files_;
};
