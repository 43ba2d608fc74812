#pragma once
#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The web host's pages and pictures as the fetch service brought them, for the browser
// windows to open without touching the network. What a window asked for and did not find is
// noted, so the window can have it fetched and show the page again. Bounded in entries and
// bytes; the oldest go first.
class WebPageCache {
public:
    static constexpr std::size_t kMaxEntries = 64;
    static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;

    struct Entry {
        bool ok = false; // false: the address failed; it is not asked for again from here
        std::string bytes;
        std::string mimeType; // empty: guess from the name
    };

    void Put(const std::string& url, Entry entry);
    const Entry* Find(const std::string& url) const;
    void NoteMissing(const std::string& url);
    // The addresses noted since the last call.
    std::vector<std::string> TakeMissing();

    // The Content-Type of raw response headers, lower case and without parameters.
    static std::string MimeType(const std::string& rawHeaders);

private:
    std::map<std::string, Entry> entries_;
    std::deque<std::string> order_;
    std::size_t bytes_ = 0;
    std::set<std::string> missing_;
};
