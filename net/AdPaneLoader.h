#pragma once
#include "net/FetchService.h"
#include "net/PanePictureQueue.h"

#include <memory>
#include <string>

class IPaneBrowser;
class WebPageCache;

// Loads the information pane's pages from the web host without its window waiting: the page
// is fetched and made safe to show (PageMarkup) on a worker, kept in the cache and pinned
// there while shown; the pictures the window asked for and did not find are fetched, and the
// page is shown again once the last of them is in (or has failed, at the latest at the
// deadline). Everything it tells its browser happens on the main thread.
class AdPaneLoader {
public:
    AdPaneLoader(FetchService& fetches, WebPageCache& cache, IPaneBrowser& browser,
                 DWORD deadlineMs = FetchService::kPageDeadlineMs);
    ~AdPaneLoader();
    AdPaneLoader(const AdPaneLoader&) = delete;
    AdPaneLoader& operator=(const AdPaneLoader&) = delete;

    // True for the addresses the loader fetches (http and https); the window opens others.
    static bool IsWebAddress(const std::string& url);
    // Fetches the page at `url`; an earlier page still on its way is dropped.
    void Load(const std::string& url);
    // The window shows a page of its own: the web page, its pictures and its pin are let go.
    void Leave();
    // The web page shown; empty while the window shows one of its own.
    const std::string& Page() const { return page_; }
    // A link of the web page shown, made whole against the page's address.
    std::string Absolute(const std::string& link) const;

private:
    void OnFetched(const std::string& url, FetchResult& result, const std::string& refusal);

    FetchService& fetches_;
    WebPageCache& cache_;
    IPaneBrowser& browser_;
    DWORD deadlineMs_;
    std::string page_;
    PanePictureQueue pictures_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};
