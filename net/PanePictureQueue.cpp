#include "net/PanePictureQueue.h"

#include "net/FetchService.h"
#include "net/PanePicture.h"

#include <span>

PanePictureQueue::PanePictureQueue(FetchService& fetches, Arrived arrived,
                                   std::function<void()> allIn, DWORD deadlineMs)
    : fetches_(fetches), arrived_(std::move(arrived)), allIn_(std::move(allIn)),
      deadlineMs_(deadlineMs) {}

PanePictureQueue::~PanePictureQueue() {
    StartPage();
}

void PanePictureQueue::StartPage() {
    for (const std::string& url : running_)
        fetches_.Cancel(Purpose(url));
    running_.clear();
    waiting_.clear();
    taken_.clear();
    fetched_ = 0;
    pageBytes_ = 0;
}

void PanePictureQueue::Add(const std::vector<std::string>& urls) {
    for (const std::string& url : urls) {
        if (!taken_.insert(url).second)
            continue;
        if (fetched_ >= kMaxPerPage) {
            arrived_(url, {});
            continue;
        }
        ++fetched_;
        waiting_.push_back(url);
    }
    Pump();
}

void PanePictureQueue::Pump() {
    while (running_.size() < kMaxTransfers && !waiting_.empty()) {
        const std::string url = waiting_.front();
        waiting_.pop_front();
        running_.insert(url);
        FetchRequest request;
        request.url = url;
        request.deadlineMs = deadlineMs_;
        request.maxBody = kMaxPictureBytes;
        fetches_.Fetch(
            Purpose(url), request,
            [](FetchResult& result, FetchCancel& cancel) {
                if (!result.Ok())
                    return;
                const auto* bytes = reinterpret_cast<const BYTE*>(result.body.data());
                std::string error;
                result.body =
                    PanePicture::Prepare(std::span(bytes, result.body.size()), &cancel, error);
                if (result.body.empty())
                    result.error = error;
            },
            [alive = std::weak_ptr<int>(life_), this, url](FetchResult& result) {
                if (!alive.lock())
                    return;
                WebPageCache::Entry entry;
                if (result.Ok() && !result.body.empty())
                    entry = {true, std::move(result.body), PanePicture::kMimeType};
                Finished(url, std::move(entry));
            });
    }
}

void PanePictureQueue::Finished(const std::string& url, WebPageCache::Entry entry) {
    running_.erase(url);
    if (entry.ok && pageBytes_ + entry.bytes.size() > kMaxPageBytes)
        entry = {};
    pageBytes_ += entry.bytes.size();
    arrived_(url, std::move(entry));
    Pump();
    if (Idle() && allIn_)
        allIn_();
}
