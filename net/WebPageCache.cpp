#include "net/WebPageCache.h"

#include "net/HttpHeaderBlock.h"

#include <algorithm>

void WebPageCache::Put(const std::string& url, Entry entry) {
    if (entry.bytes.size() > kMaxBytes)
        entry = Entry{};
    if (const auto old = entries_.find(url); old != entries_.end()) {
        if (!Pinned(url)) {
            bytes_ -= old->second.bytes.size();
            order_.erase(std::find(order_.begin(), order_.end(), url));
        }
        entries_.erase(old);
    }
    if (noted_.erase(url))
        std::erase(missing_, url);
    if (Pinned(url)) {
        entries_[url] = std::move(entry);
        return;
    }
    while (!order_.empty() &&
           (order_.size() >= kMaxEntries || bytes_ + entry.bytes.size() > kMaxBytes)) {
        bytes_ -= entries_[order_.front()].bytes.size();
        entries_.erase(order_.front());
        order_.pop_front();
    }
    bytes_ += entry.bytes.size();
    entries_[url] = std::move(entry);
    order_.push_back(url);
}

const WebPageCache::Entry* WebPageCache::Use(const std::string& url) {
    if (!pinnedPage_.empty() && pinned_.insert(url).second) {
        // A pinned entry leaves the count of those that may go.
        if (const auto held = std::find(order_.begin(), order_.end(), url); held != order_.end()) {
            bytes_ -= entries_[url].bytes.size();
            order_.erase(held);
        }
    }
    return Find(url);
}

void WebPageCache::Pin(const std::string& page) {
    if (page == pinnedPage_)
        return;
    Unpin();
    pinnedPage_ = page;
    Use(page);
}

void WebPageCache::Unpin() {
    std::set<std::string> released;
    released.swap(pinned_);
    pinnedPage_.clear();
    // What the page held goes back to the others as the newest, and takes its turn to go.
    for (const std::string& url : released) {
        auto found = entries_.find(url);
        if (found == entries_.end())
            continue;
        Entry entry = std::move(found->second);
        entries_.erase(found);
        Put(url, std::move(entry));
    }
}

const WebPageCache::Entry* WebPageCache::Find(const std::string& url) const {
    const auto found = entries_.find(url);
    return found == entries_.end() ? nullptr : &found->second;
}

void WebPageCache::NoteMissing(const std::string& url) {
    if (noted_.insert(url).second)
        missing_.push_back(url);
}

std::vector<std::string> WebPageCache::TakeMissing() {
    std::vector<std::string> taken;
    taken.swap(missing_);
    noted_.clear();
    return taken;
}

std::string WebPageCache::MimeType(const std::string& raw) {
    HttpHeaderBlock headers;
    for (std::size_t at = 0; at < raw.size();) {
        const std::size_t end = raw.find('\n', at);
        const std::size_t next = end == std::string::npos ? raw.size() : end + 1;
        headers.AddLine(std::string_view(raw).substr(at, next - at));
        at = next;
    }
    std::string type;
    if (!headers.Field("Content-Type", type))
        return {};
    type = type.substr(0, type.find(';'));
    while (!type.empty() && (type.back() == ' ' || type.back() == '\t'))
        type.pop_back();
    for (char& c : type)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return type;
}
