#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <string_view>

// Reads the web host's answer to the latest-version query: the newest version code followed
// by one character. Only a 2xx answer counts; a reply that, less its last character, is a
// prefix of our own code (an empty one included) means there is nothing newer.
class VersionCheck {
public:
    static constexpr std::size_t kMaxReply = 4096;
    static bool IsUpdate(bool fetched, DWORD httpStatus, std::string_view reply,
                         std::string_view ownCode);
};
