#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class IStatusWindow;
typedef void CURL;

// The connection context of one fetcher: a libcurl handle kept between fetches (so connections
// and name look-ups are reused), the agent text, and the progress texts shown in an optional
// status window.
class CWebGrabSession {
public:
    // Internet status numbers of the progress events that have a text.
    enum Status : DWORD {
        kResolvingName = 10,
        kNameResolved = 11,
        kConnecting = 20,
        kConnected = 21,
        kSendingRequest = 30,
        kRequestSent = 31,
        kReceivingResponse = 40,
        kResponseReceived = 41,
        kClosingConnection = 50,
        kConnectionClosed = 51,
        kHandleCreated = 60,
        kHandleClosing = 70,
        kRequestComplete = 100,
    };
    // Longest text ShowStatus keeps; longer texts are cut.
    static constexpr std::size_t kMaxStatusLength = 511;

    CWebGrabSession(std::string agent, IStatusWindow* window);
    ~CWebGrabSession();
    CWebGrabSession(const CWebGrabSession&) = delete;
    CWebGrabSession& operator=(const CWebGrabSession&) = delete;

    // Null when libcurl could not make a handle.
    CURL* Handle() const { return handle_.get(); }
    const std::string& Agent() const { return agent_; }
    void SetStatusWindow(IStatusWindow* window) { window_ = window; }

    // Makes the text the last status and the status window's text.
    void ShowStatus(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const std::string& LastStatus() const { return lastStatus_; }

    // One progress event: shows its text, if it has one. `name` is the host for the name
    // events; `info` is the event's data (two numbers for a completed request).
    void OnStatus(DWORD status, std::string_view name = {}, const void* info = nullptr,
                  std::size_t infoLength = 0);
    // The text of one progress event; none for events that show nothing.
    static std::optional<std::string> StatusText(DWORD status, std::string_view name,
                                                 const void* info, std::size_t infoLength);

    // Clears the handle's options from the last fetch and routes libcurl's progress reports
    // of the next one into status events.
    void PrepareTransfer();
    // One of libcurl's reports on the running transfer (its kind and text).
    void OnTransferReport(int kind, std::string_view text);

private:
    struct HandleCloser {
        void operator()(CURL* handle) const;
    };

    std::unique_ptr<CURL, HandleCloser> handle_;
    std::string agent_;
    IStatusWindow* window_;
    std::string lastStatus_;
};
