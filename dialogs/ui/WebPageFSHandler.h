#pragma once
#include "dialogs/WebEndpoint.h"

#include <wx/filesys.h>

// Opens the web host's pages and pictures for the browser windows through the program's own
// fetcher, so every request sends the program's agent text and keeps its limits. Addresses
// on other hosts, and answers other than 2xx, open nothing.
class WebPageFSHandler : public wxFileSystemHandler {
public:
    explicit WebPageFSHandler(WebEndpoint endpoint) : endpoint_(std::move(endpoint)) {}

    bool CanOpen(const wxString& location) override;
    wxFSFile* OpenFile(wxFileSystem& fs, const wxString& location) override;

private:
    WebEndpoint endpoint_;
};
