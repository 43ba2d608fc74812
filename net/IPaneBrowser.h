#pragma once
#include <string>

// What the pane's page loader needs of its window: a browser that opens the web host's pages
// and their pictures from the page cache, and hears of a page that could not be loaded.
class IPaneBrowser {
public:
    virtual ~IPaneBrowser() = default;
    // Opens the prepared page at `url` from the cache with the pictures the cache holds;
    // what it lacks it notes there. `again`: the same page once its pictures are in.
    virtual void ShowPage(const std::string& url, bool again) = 0;
    // The page at `url` could not be loaded, for `why`; nothing was shown.
    virtual void PageFailed(const std::string& url, const std::string& why) = 0;
};
