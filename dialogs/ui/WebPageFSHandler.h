#pragma once
#include "net/WebEndpoint.h"

#include <wx/filesys.h>

class WebPageCache;

// Opens the web host's pages and pictures for the browser windows from what the fetch service
// brought into the cache; it never waits on the network itself. What is not there yet is
// noted for the window to fetch. Addresses on other hosts, and failed answers, open nothing.
class WebPageFSHandler : public wxFileSystemHandler {
public:
    WebPageFSHandler(WebEndpoint endpoint, WebPageCache& cache)
        : endpoint_(std::move(endpoint)), cache_(cache) {}

    bool CanOpen(const wxString& location) override;
    wxFSFile* OpenFile(wxFileSystem& fs, const wxString& location) override;

private:
    WebEndpoint endpoint_;
    WebPageCache& cache_;
};
