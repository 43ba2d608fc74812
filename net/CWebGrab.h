#pragma once
#include "net/HttpHeaderBlock.h"
#include "platform/WinTypes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CWebGrabSession;
class FetchCancel;
class IStatusWindow;

// Fetches one web address into bytes and keeps what the last fetch learned: its HTTP status,
// the raw headers of the final response and, after a failure, libcurl's error text.
// Only http and https are spoken, redirects are followed a bounded number of times and every
// wait and body is bounded, so a hostile or dead server costs a known amount of time and memory.
// A fetch blocks its caller, so it runs only on a worker: asked for on the main thread, it
// ends the program (the fetch service is the road for window code).
class CWebGrab {
public:
    static constexpr std::size_t kDefaultMaxBody = 16 * 1024 * 1024;
    static constexpr long kMaxRedirects = 10;
    static constexpr long kConnectTimeoutMs = 10000;
    // A transfer slower than one byte a second for this long is given up.
    static constexpr DWORD kDefaultStallMs = 30000;
    static constexpr std::size_t kMaxErrorLength = 255;
    // The whole transfer, redirects included, ends after this long (0: the default).
    static constexpr DWORD kDefaultDeadlineMs = 15000;
    static constexpr const char* kCancelledText = "The transfer was cancelled";
    // Empty when a redirect to the address may be followed, else why not.
    using RedirectCheck = std::function<std::string(const std::string& url)>;
    // Bytes received and expected (0 when unknown), called on the fetching thread.
    using Progress = std::function<void(std::uint64_t got, std::uint64_t total)>;

    CWebGrab();
    ~CWebGrab();
    CWebGrab(const CWebGrab&) = delete;
    CWebGrab& operator=(const CWebGrab&) = delete;

    // Makes a new connection context with the agent text and status window (not owned).
    bool Initialise(const std::string& agent, IStatusWindow* window = nullptr);
    void Close();

    // Fetches `url` into `result` (all bytes, NULs included). True whenever a response came,
    // whatever its HTTP status; false with an error text when none did.
    bool GetPage(const std::string& url, std::string& result, const std::string& agent,
                 IStatusWindow* window = nullptr);
    // Asks for the headers only. False on failure or an HTTP status of 400 and above. A
    // missing field leaves its value empty or 0.
    bool GetHeaderInfo(const std::string& url, std::string& lastModified,
                       std::uint64_t& contentLength, DWORD& httpStatus, const std::string& agent,
                       IStatusWindow* window = nullptr);

    // Gives up when no byte arrives for this long (0: the default).
    void SetTimeout(DWORD milliseconds) { timeoutMs_ = milliseconds; }
    void SetProxy(const std::string& host, WORD port, bool use = true);
    void SetDeadline(DWORD milliseconds) { deadlineMs_ = milliseconds; }
    // Not owned; a cancelled fetch fails with kCancelledText.
    void SetCancel(FetchCancel* cancel) { cancel_ = cancel; }
    void SetRedirectCheck(RedirectCheck check) { redirectCheck_ = std::move(check); }
    void SetProgress(Progress progress) { progress_ = std::move(progress); }
    void SetForceReload(bool reload) { forceReload_ = reload; }
    // Callers may lower the body limit; a longer body fails the fetch.
    void SetMaxBody(std::size_t bytes) { maxBody_ = std::min(bytes, kDefaultMaxBody); }

    DWORD GetHttpStatus() const { return httpStatus_; }
    const std::string& GetErrorMessage() const { return errorText_; }
    const std::string& GetRawHeaders() const { return headers_.Raw(); }
    // The last status text of the connection context (empty before the first fetch).
    std::string GetStatusText() const;

private:
    struct Transfer;

    // Clears the last fetch's results and makes sure a connection context exists.
    bool Begin(std::string& result, const std::string& agent, IStatusWindow* window);
    // Runs one request and its redirects; false (with the error text set and shown) when no
    // response came.
    bool Run(const std::string& url, bool headersOnly, std::string* body);
    // One request without redirects; its libcurl code.
    int Perform(const std::string& url, bool headersOnly, std::string* body, long remainingMs,
                bool& cancelled);
    void Fail(const std::string& text);
    // Protocols, redirects, waits, body size and proxy of the next request.
    void ApplyLimits(void* handle) const;

    std::unique_ptr<CWebGrabSession> session_;
    DWORD timeoutMs_ = 0;
    DWORD deadlineMs_ = 0;
    FetchCancel* cancel_ = nullptr;
    RedirectCheck redirectCheck_;
    Progress progress_;
    bool forceReload_ = false;
    bool useProxy_ = false;
    WORD proxyPort_ = 0;
    DWORD httpStatus_ = 0;
    std::string errorText_;
    std::string proxyHost_;
    HttpHeaderBlock headers_;
    std::size_t maxBody_ = kDefaultMaxBody;
};
