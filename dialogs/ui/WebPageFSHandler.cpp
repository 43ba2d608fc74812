#include "dialogs/ui/WebPageFSHandler.h"

#include "net/WebPageCache.h"

#include <wx/mstream.h>

namespace {

// wx keeps the anchor apart; the fetch goes without it.
std::string WithoutAnchor(const wxString& location) {
    std::string url = location.utf8_string();
    if (const std::size_t hash = url.find('#'); hash != std::string::npos)
        url.resize(hash);
    return url;
}

} // namespace

bool WebPageFSHandler::CanOpen(const wxString& location) {
    const wxString protocol = GetProtocol(location).Lower();
    return protocol == "http" || protocol == "https";
}

wxFSFile* WebPageFSHandler::OpenFile(wxFileSystem&, const wxString& location) {
    const std::string url = WithoutAnchor(location);
    if (!endpoint_.IsOnWebHost(url))
        return nullptr;
    const WebPageCache::Entry* entry = cache_.Use(url);
    if (!entry) {
        cache_.NoteMissing(url);
        return nullptr;
    }
    // The toolkit refuses a stream over no bytes with an assertion; nothing is all it holds.
    if (!entry->ok || entry->bytes.empty())
        return nullptr;
    const wxString type = entry->mimeType.empty()
                              ? wxFileSystemHandler::GetMimeTypeFromExt(location)
                              : wxString::FromUTF8(entry->mimeType);
    wxMemoryOutputStream bytes;
    bytes.Write(entry->bytes.data(), entry->bytes.size());
    // wx takes the file and its stream; the input stream copies the bytes.
    return new wxFSFile(new wxMemoryInputStream(bytes), location, type, GetAnchor(location),
                        wxDateTime::Now());
}
