#include "net/CWebGrabSession.h"

#include "net/CurlGlobal.h"
#include "net/IStatusWindow.h"
#include "platform/TextFormat.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

int OnCurlDebug(CURL*, curl_infotype kind, char* data, std::size_t size, void* user) {
    static_cast<CWebGrabSession*>(user)->OnTransferReport(kind, std::string_view(data, size));
    return 0;
}

} // namespace

void CWebGrabSession::HandleCloser::operator()(CURL* handle) const {
    curl_easy_cleanup(handle);
}

CWebGrabSession::CWebGrabSession(std::string agent, IStatusWindow* window)
    : agent_(std::move(agent)), window_(window) {
    if (CurlGlobal::Ensure())
        handle_.reset(curl_easy_init());
    if (handle_)
        OnStatus(kHandleCreated);
}

CWebGrabSession::~CWebGrabSession() = default;

void CWebGrabSession::ShowStatus(const char* format, ...) {
    char buffer[kMaxStatusLength + 1];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    lastStatus_.assign(written < 0 ? "" : buffer);
    if (window_)
        window_->ShowText(lastStatus_);
}

std::optional<std::string> CWebGrabSession::StatusText(DWORD status, std::string_view name,
                                                       const void* info, std::size_t infoLength) {
    const std::string host(name);
    switch (status) {
    case kResolvingName:
        return Format("Resolving name for %s", host.c_str());
    case kNameResolved:
        return Format("Resolved name for %s", host.c_str());
    case kConnecting:
        return std::string("Connecting to socket address ");
    case kConnected:
        return std::string("Connected to socket address");
    case kSendingRequest:
        return std::string("Sending request...");
    case kRequestSent:
        return std::string("Request sent");
    case kReceivingResponse:
    case kHandleClosing:
        return std::nullopt;
    case kResponseReceived:
        return std::string("Response received");
    case kClosingConnection:
        return std::string("Closing the connection to the server");
    case kConnectionClosed:
        return std::string("Connection to the server closed");
    case kHandleCreated:
        return std::string();
    case kRequestComplete:
        if (info && infoLength == 2 * sizeof(DWORD)) {
            DWORD result[2];
            std::memcpy(result, info, sizeof result);
            return Format("Request complete, dwResult = %8.8X, dwError = %8.8X", result[0],
                          result[1]);
        }
        return std::string("Request complete");
    default:
        return Format("Unknown status: %d", static_cast<int>(status));
    }
}

void CWebGrabSession::OnStatus(DWORD status, std::string_view name, const void* info,
                               std::size_t infoLength) {
    if (const auto text = StatusText(status, name, info, infoLength))
        ShowStatus("%s", text->c_str());
}

void CWebGrabSession::PrepareTransfer() {
    if (!handle_)
        return;
    curl_easy_reset(handle_.get());
    curl_easy_setopt(handle_.get(), CURLOPT_DEBUGFUNCTION, &OnCurlDebug);
    curl_easy_setopt(handle_.get(), CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(handle_.get(), CURLOPT_VERBOSE, 1L);
}

void CWebGrabSession::OnTransferReport(int kind, std::string_view text) {
    switch (kind) {
    case CURLINFO_TEXT:
        if (StartsWith(TrimLeft(text), "Trying ")) {
            OnStatus(kConnecting);
        } else if (StartsWith(text, "Connected to ")) {
            OnStatus(kConnected);
        } else if (StartsWith(text, "Closing connection")) {
            OnStatus(kClosingConnection);
            OnStatus(kConnectionClosed);
        }
        break;
    case CURLINFO_HEADER_OUT:
        OnStatus(kSendingRequest);
        OnStatus(kRequestSent);
        break;
    case CURLINFO_HEADER_IN:
        if (StartsWith(text, "HTTP/"))
            OnStatus(kResponseReceived);
        break;
    default:
        break;
    }
}
