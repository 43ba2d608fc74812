#pragma once
#include <string>

// The work behind the pane's download links, done by the application once the user agreed:
// each fetches `url` (a 2xx answer only) and applies it; false when nothing was applied.
class IAdLinkActions {
public:
    virtual ~IAdLinkActions() = default;
    virtual bool ApplyMask(const std::string& url) = 0;
    virtual bool DownloadTiler(const std::string& url) = 0;
    virtual bool UseTemplate(const std::string& url) = 0;
};
