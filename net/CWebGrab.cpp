#include "net/CWebGrab.h"

#include "net/CWebGrabSession.h"
#include "net/FetchCancel.h"
#include "platform/MainThread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <curl/curl.h>

namespace {

// Where a fetch's bytes go while libcurl runs.
struct Sink {
    std::string* body;
    std::size_t limit;
    bool overLimit = false;
    HttpHeaderBlock* headers;
    bool headersOverLimit = false;
};

std::size_t OnBody(char* data, std::size_t, std::size_t count, void* user) {
    auto& sink = *static_cast<Sink*>(user);
    if (!sink.body)
        return count;
    if (count > sink.limit - sink.body->size()) {
        sink.overLimit = true;
        return 0;
    }
    sink.body->append(data, count);
    return count;
}

std::size_t OnHeader(char* data, std::size_t, std::size_t count, void* user) {
    auto& sink = *static_cast<Sink*>(user);
    if (!sink.headers->AddLine(std::string_view(data, count))) {
        sink.headersOverLimit = true;
        return 0;
    }
    return count;
}

struct HeaderListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

CWebGrab::CWebGrab() = default;

CWebGrab::~CWebGrab() {
    Close();
}

bool CWebGrab::Initialise(const std::string& agent, IStatusWindow* window) {
    Close();
    httpStatus_ = 0;
    session_ = std::make_unique<CWebGrabSession>(agent, window);
    if (!session_->Handle()) {
        session_.reset();
        errorText_ = "The internet session could not be created";
        return false;
    }
    return true;
}

void CWebGrab::Close() {
    session_.reset();
}

void CWebGrab::SetProxy(const std::string& host, WORD port, bool use) {
    proxyHost_ = host;
    proxyPort_ = port;
    useProxy_ = use;
}

std::string CWebGrab::GetStatusText() const {
    return session_ ? session_->LastStatus() : std::string();
}

void CWebGrab::Fail(const std::string& text) {
    errorText_ = text.substr(0, kMaxErrorLength);
    if (session_)
        session_->ShowStatus("%s", errorText_.c_str());
}

bool CWebGrab::Begin(std::string& result, const std::string& agent, IStatusWindow* window) {
    headers_.Clear();
    result.clear();
    httpStatus_ = 0;
    if (!session_ && !Initialise(agent, window))
        return false;
    if (window)
        session_->SetStatusWindow(window);
    return true;
}

void CWebGrab::ApplyLimits(void* handle) const {
    CURL* h = handle;
    const long stallSeconds =
        static_cast<long>(((timeoutMs_ ? timeoutMs_ : kDefaultStallMs) + 999) / 1000);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    // Redirects are followed here, one by one, so each new address can be checked first.
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBody_));
    curl_easy_setopt(h, CURLOPT_NOPROXY, "localhost,127.0.0.0/8,::1");
    if (useProxy_) {
        const std::string proxy = proxyHost_ + ":" + std::to_string(proxyPort_);
        curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str()); // libcurl keeps its own copy
    }
}

namespace {

struct MultiFree {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

struct ProgressSink {
    const CWebGrab::Progress* progress;
    FetchCancel* cancel;
};

int OnProgress(void* user, curl_off_t total, curl_off_t got, curl_off_t, curl_off_t) {
    auto& sink = *static_cast<ProgressSink*>(user);
    if (sink.cancel && sink.cancel->Cancelled())
        return 1;
    if (*sink.progress)
        (*sink.progress)(static_cast<std::uint64_t>(std::max<curl_off_t>(got, 0)),
                         static_cast<std::uint64_t>(std::max<curl_off_t>(total, 0)));
    return 0;
}

} // namespace

int CWebGrab::Perform(const std::string& url, bool headersOnly, std::string* body, long remainingMs,
                      bool& cancelled) {
    session_->PrepareTransfer();
    CURL* h = session_->Handle();
    headers_.Clear();
    if (body)
        body->clear();
    Sink sink{body, maxBody_, false, &headers_, false};
    ProgressSink progress{&progress_, cancel_};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    std::unique_ptr<curl_slist, HeaderListFree> extra;
    if (forceReload_) {
        extra.reset(curl_slist_append(nullptr, "Cache-Control: no-cache"));
        if (extra)
            extra.reset(curl_slist_append(extra.release(), "Pragma: no-cache"));
    }
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, session_->Agent().c_str());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    ApplyLimits(h);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, std::max(remainingMs, 1L));
    if (extra)
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, extra.get());
    curl_easy_setopt(h, CURLOPT_NOBODY, headersOnly ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &sink);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &progress);

    // A multi handle of its own, so a cancel from another thread wakes the wait at once.
    std::unique_ptr<CURLM, MultiFree> multi(curl_multi_init());
    CURLcode code = CURLE_OUT_OF_MEMORY;
    if (multi && curl_multi_add_handle(multi.get(), h) == CURLM_OK) {
        if (cancel_)
            cancel_->SetWake([m = multi.get()] { curl_multi_wakeup(m); });
        for (int running = 1;;) {
            if (cancel_ && cancel_->Cancelled()) {
                code = CURLE_ABORTED_BY_CALLBACK;
                break;
            }
            if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
                code = CURLE_RECV_ERROR;
                break;
            }
            if (!running) {
                int left = 0;
                while (CURLMsg* message = curl_multi_info_read(multi.get(), &left))
                    if (message->msg == CURLMSG_DONE)
                        code = message->data.result;
                break;
            }
            curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
        }
        if (cancel_)
            cancel_->SetWake({});
        curl_multi_remove_handle(multi.get(), h);
    }
    session_->OnStatus(CWebGrabSession::kRequestComplete);
    cancelled = cancel_ && cancel_->Cancelled();
    if (code != CURLE_OK) {
        if (body)
            body->clear();
        if (cancelled)
            Fail(kCancelledText);
        else if (sink.overLimit)
            Fail(curl_easy_strerror(CURLE_FILESIZE_EXCEEDED));
        else if (sink.headersOverLimit)
            Fail("The response headers are too long");
        else
            Fail(errorBuffer[0] ? errorBuffer : curl_easy_strerror(code));
    }
    return code;
}

bool CWebGrab::Run(const std::string& url, bool headersOnly, std::string* body) {
    if (MainThread::IsCurrent()) {
        std::fprintf(stderr, "A transfer of %s was asked for on the main thread\n", url.c_str());
        std::abort();
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(deadlineMs_ ? deadlineMs_ : kDefaultDeadlineMs);
    std::string address = url;
    const auto refuse = [&](const std::string& text) {
        httpStatus_ = 0;
        if (body)
            body->clear();
        Fail(text);
        return false;
    };
    for (long hops = 0;; ++hops) {
        const long remaining = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        bool cancelled = false;
        if (remaining <= 0)
            return refuse("The transfer took longer than its time limit");
        if (Perform(address, headersOnly, body, remaining, cancelled) != CURLE_OK)
            return false;
        long status = 0;
        curl_easy_getinfo(session_->Handle(), CURLINFO_RESPONSE_CODE, &status);
        httpStatus_ = static_cast<DWORD>(std::max(status, 0L));
        char* next = nullptr;
        curl_easy_getinfo(session_->Handle(), CURLINFO_REDIRECT_URL, &next);
        if (status < 300 || status > 399 || !next || !*next)
            return true;
        if (hops >= kMaxRedirects)
            return refuse(curl_easy_strerror(CURLE_TOO_MANY_REDIRECTS));
        address = next;
        if (address.compare(0, 7, "http://") != 0 && address.compare(0, 8, "https://") != 0)
            return refuse("A redirect to " + address.substr(0, 100) +
                          " was refused: only web addresses are followed");
        if (redirectCheck_) {
            if (const std::string refusal = redirectCheck_(address); !refusal.empty())
                return refuse(refusal);
        }
    }
}

bool CWebGrab::GetPage(const std::string& url, std::string& result, const std::string& agent,
                       IStatusWindow* window) {
    if (!Begin(result, agent, window))
        return false;
    if (!Run(url, false, &result))
        return false;
    session_->ShowStatus("%s", "");
    return true;
}

bool CWebGrab::GetHeaderInfo(const std::string& url, std::string& lastModified,
                             std::uint64_t& contentLength, DWORD& httpStatus,
                             const std::string& agent, IStatusWindow* window) {
    lastModified.clear();
    contentLength = 0;
    httpStatus = 0;
    std::string unused;
    if (!Begin(unused, agent, window) || !Run(url, true, nullptr))
        return false;
    httpStatus = httpStatus_;
    headers_.Field("Last-Modified", lastModified);
    curl_off_t length = -1;
    curl_easy_getinfo(session_->Handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    contentLength = length > 0 ? static_cast<std::uint64_t>(length) : 0;
    return httpStatus_ < 400;
}
