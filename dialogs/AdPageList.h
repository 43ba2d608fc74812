#pragma once
#include "dialogs/CAdList.h"

#include <cstddef>
#include <string>
#include <vector>

// The pages the information pane shows in turn while offline, read from "index.lst" in the
// install's html folder.
class AdPageList {
public:
    enum class Load { Ok, FileError, TooFew };
    static constexpr std::size_t kMinEntries = 10;
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;
    static constexpr const char* kFileName = "index.lst";
    static constexpr const char* kFileErrorText =
        "ERROR 010: Orlimber Installation Corrupted, please re-install.";
    static constexpr const char* kTooFewText =
        "ERROR 011: Orlimber Installation Corrupted, please re-install.";

    // Reads the list of `htmlFolder`; the entries are replaced only when the whole list is good.
    Load LoadFrom(const std::string& htmlFolder);

    const std::vector<CAdList>& Entries() const { return entries_; }
    // The entry after the last one whose page id is `lastId` (the first when none matches or
    // the match is the last entry).
    std::size_t NextAfter(const std::string& lastId) const;

private:
    std::vector<CAdList> entries_;
};
