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
// bytes; the oldest go first, except the page the window shows and every address that page
// used since it was pinned: those stay until another page is pinned, so a page with many
// pictures neither loses itself nor fetches its pictures again at each rotation. (The pane
// bounds how many pictures a page may use and how large they are.)
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
    // Find for the browser window: a pinned page keeps what it uses.
    const Entry* Use(const std::string& url);
    // `page` is the one shown now; what an earlier page pinned may go.
    void Pin(const std::string& page);
    void Unpin();
    bool Pinned(const std::string& url) const { return pinned_.count(url) != 0; }
    void NoteMissing(const std::string& url);
    // The addresses noted since the last call, in the order they were first asked for (a
    // page's first pictures come first).
    std::vector<std::string> TakeMissing();

    // The Content-Type of raw response headers, lower case and without parameters.
    static std::string MimeType(const std::string& rawHeaders);

private:
    std::map<std::string, Entry> entries_;
    std::deque<std::string> order_;
    std::size_t bytes_ = 0;
    std::vector<std::string> missing_;
    std::set<std::string> noted_; // what missing_ holds, to find it quickly
    std::string pinnedPage_;
    std::set<std::string> pinned_;
};
