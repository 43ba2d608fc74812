#include "dialogs/ui/WebPageFSHandler.h"

#include "dialogs/CWebGrab.h"
#include "dialogs/HttpHeaderBlock.h"

#include <wx/mstream.h>

namespace {

// wx keeps the anchor apart; the fetch goes without it.
std::string WithoutAnchor(const wxString& location) {
    std::string url = location.utf8_string();
    if (const std::size_t hash = url.find('#'); hash != std::string::npos)
        url.resize(hash);
    return url;
}

// The answer's own type (without parameters), else the one its name suggests.
wxString MimeType(const CWebGrab& grab, const wxString& location) {
    HttpHeaderBlock headers;
    std::string type;
    const std::string& raw = grab.GetRawHeaders();
    for (std::size_t at = 0; at < raw.size();) {
        const std::size_t end = raw.find('\n', at);
        const std::size_t next = end == std::string::npos ? raw.size() : end + 1;
        headers.AddLine(std::string_view(raw).substr(at, next - at));
        at = next;
    }
    if (headers.Field("Content-Type", type) && !type.empty())
        return wxString::FromUTF8(type.substr(0, type.find(';'))).Trim().Lower();
    return wxFileSystemHandler::GetMimeTypeFromExt(location);
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
    CWebGrab grab;
    std::string body;
    if (!grab.GetPage(url, body, kWebAgent) || grab.GetHttpStatus() < 200 ||
        grab.GetHttpStatus() > 299)
        return nullptr;
    wxMemoryOutputStream bytes;
    bytes.Write(body.data(), body.size());
    // wx takes the file and its stream; the input stream copies the bytes.
    return new wxFSFile(new wxMemoryInputStream(bytes), location, MimeType(grab, location),
                        GetAnchor(location), wxDateTime::Now());
}
