#include "net/AdPaneLoader.h"

#include "net/IPaneBrowser.h"
#include "net/PageMarkup.h"
#include "net/WebAddress.h"
#include "net/WebPageCache.h"

#include <cstdio>

namespace {

constexpr const char* kPageJob = "pane-page";

// What the host sent, made into a page the window shows quickly, on the worker. Empty with a
// reason in `refusal` when it cannot be shown.
std::string PreparePage(const std::string& url, FetchResult& result, std::string& refusal) {
    const std::string type = WebPageCache::MimeType(result.headers);
    if (!type.empty() && type.compare(0, 5, "text/") != 0) {
        refusal = "the host sent " + type.substr(0, 80) + ", not a page";
        return {};
    }
    PageMarkup::Prepared page = PageMarkup::Prepare(result.body, url);
    if (!page.usable)
        refusal = page.note;
    else if (!page.note.empty())
        std::fprintf(stderr, "The page %s: %s\n", url.c_str(), page.note.c_str());
    result.body.clear();
    return std::move(page.html);
}

} // namespace

AdPaneLoader::AdPaneLoader(FetchService& fetches, WebPageCache& cache, IPaneBrowser& browser,
                           DWORD deadlineMs)
    : fetches_(fetches), cache_(cache), browser_(browser), deadlineMs_(deadlineMs),
      pictures_(
          fetches,
          [this](const std::string& url, WebPageCache::Entry entry) {
              cache_.Put(url, std::move(entry));
          },
          // The page shows again once all its pictures are in.
          [this] {
              if (!page_.empty())
                  browser_.ShowPage(page_, true);
          },
          deadlineMs) {}

AdPaneLoader::~AdPaneLoader() {
    fetches_.Cancel(kPageJob);
    pictures_.StartPage();
}

bool AdPaneLoader::IsWebAddress(const std::string& url) {
    return url.compare(0, 7, "http://") == 0 || url.compare(0, 8, "https://") == 0;
}

std::string AdPaneLoader::Absolute(const std::string& link) const {
    if (page_.empty() || link.empty() || link.front() == '#')
        return link;
    return WebAddress::Resolve(page_, link);
}

void AdPaneLoader::Load(const std::string& url) {
    FetchRequest request;
    request.url = url;
    request.deadlineMs = deadlineMs_;
    request.maxBody = PageMarkup::kMaxBytes;
    // Filled on the worker, read once the result is on the main thread.
    auto refusal = std::make_shared<std::string>();
    fetches_.Fetch(
        kPageJob, request,
        [url, refusal](FetchResult& result, FetchCancel&) {
            if (result.Ok())
                result.body = PreparePage(url, result, *refusal);
        },
        [alive = std::weak_ptr<int>(life_), this, url, refusal](FetchResult& result) {
            if (alive.lock())
                OnFetched(url, result, *refusal);
        });
}

void AdPaneLoader::Leave() {
    page_.clear();
    pictures_.StartPage();
    cache_.Unpin();
}

void AdPaneLoader::OnFetched(const std::string& url, FetchResult& result,
                             const std::string& refusal) {
    if (!result.Ok() || !refusal.empty()) {
        browser_.PageFailed(url, result.Ok() ? refusal : result.error);
        return;
    }
    // The page shown keeps its pictures in the cache until another replaces it.
    if (url != page_)
        pictures_.StartPage();
    cache_.Pin(url);
    cache_.Put(url, {true, std::move(result.body), "text/html"});
    page_ = url;
    browser_.ShowPage(url, false);
    // Showing it noted the pictures the cache lacks.
    pictures_.Add(cache_.TakeMissing());
}
