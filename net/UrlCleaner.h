#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Tidies a web address typed or stored the Windows way before it is fetched: backslashes
// become slashes (so "http:\\" reads "http://") and spaces are encoded.
class UrlCleaner {
public:
    // Longest address the cleaner gives back.
    static constexpr std::size_t kMaxLength = 699;
    // False (and `out` untouched) when the cleaned address would be longer than kMaxLength.
    static bool Clean(std::string_view raw, std::string& out);
};
