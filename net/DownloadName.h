#pragma once
#include <string>
#include <string_view>

// Turns a name that came from outside (the last segment of a download address, a file name
// inside a downloaded tile set) into a plain file name that stays inside its target folder:
// backslashes count as slashes, only the last segment is kept, and names that are empty, "."
// or "..", or that hold control characters, are refused.
class DownloadName {
public:
    static constexpr std::size_t kMaxLength = 255;
    // False (and `name` untouched) when no safe name remains.
    static bool Plain(std::string_view raw, std::string& name);
    // The plain name of the last path segment of `url` (query and fragment dropped).
    static bool FromUrl(std::string_view url, std::string& name);
};
