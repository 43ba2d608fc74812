#pragma once
#include "net/FetchService.h"
#include "net/WebPageCache.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Brings the pictures of the pane's page in: one queue, at most kMaxTransfers at once, each
// decoded and scaled on its worker (PanePicture) and handed over ready to draw. A page gets
// its first kMaxPerPage pictures and kMaxPageBytes of drawn pixels; the rest count as failed
// at once, so a page with thousands of pictures costs no more than one with sixty-four.
class PanePictureQueue {
public:
    static constexpr std::size_t kMaxTransfers = 4;
    static constexpr std::size_t kMaxPerPage = 64;
    static constexpr std::uint64_t kMaxPageBytes = 32ull << 20;
    // A picture larger than this is not worth its transfer.
    static constexpr std::size_t kMaxPictureBytes = 4u << 20;

    // `arrived` gets each picture as the cache keeps it, `allIn` runs once the last picture
    // asked for is in; both on the main thread. A transfer that has not ended by
    // `deadlineMs` counts as failed.
    using Arrived = std::function<void(const std::string& url, WebPageCache::Entry entry)>;
    PanePictureQueue(FetchService& fetches, Arrived arrived, std::function<void()> allIn,
                     DWORD deadlineMs = FetchService::kPageDeadlineMs);
    ~PanePictureQueue();
    PanePictureQueue(const PanePictureQueue&) = delete;
    PanePictureQueue& operator=(const PanePictureQueue&) = delete;

    // Another page is shown: what the last one still waited for is dropped.
    void StartPage();
    void Add(const std::vector<std::string>& urls);
    bool Idle() const { return waiting_.empty() && running_.empty(); }

private:
    static std::string Purpose(const std::string& url) { return "pane-picture " + url; }
    void Pump();
    void Finished(const std::string& url, WebPageCache::Entry entry);

    FetchService& fetches_;
    Arrived arrived_;
    std::function<void()> allIn_;
    DWORD deadlineMs_;
    std::deque<std::string> waiting_;
    std::set<std::string> running_;
    std::set<std::string> taken_; // the page's pictures so far
    std::size_t fetched_ = 0;     // of them, those given a transfer
    std::uint64_t pageBytes_ = 0;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};
