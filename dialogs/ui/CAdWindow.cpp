#include "dialogs/ui/CAdWindow.h"

#include "net/FetchService.h"
#include "net/PageMarkup.h"
#include "net/WebAddress.h"
#include "net/WebPageCache.h"
#include "dialogs/ui/PanePictureHandler.h"
#include "frame/IInfoPaneHost.h"

#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdio>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

CAdWindow::CAdWindow(wxWindow* parent, Services services, WebEndpoint endpoint,
                     std::string htmlFolder)
    : wxHtmlWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHW_DEFAULT_STYLE),
      host_(services.host), fetches_(services.fetches), cache_(services.cache),
      pictures_(
          services.fetches,
          [this](const std::string& url, WebPageCache::Entry entry) {
              cache_.Put(url, std::move(entry));
          },
          // The page shows again once all its pictures are in.
          [this] {
              if (!webPage_.empty())
                  ShowCachedPage(webPage_);
          }),
      settleTimer_(this, kSettleTimer) {
    PanePictureHandler::Install();
    for (int id = 1; id <= kTimerCount; ++id)
        timers_[static_cast<size_t>(id - 1)] = std::make_unique<wxTimer>(this, id);
    controller_ = std::make_unique<AdPaneController>(
        AdPaneController::Services{*this, *this, services.connectivity, services.links,
                                   services.profile, services.fetches},
        std::move(endpoint), std::move(htmlFolder));
    commands_ = std::make_unique<AdPaneCommands>(*controller_);
    Bind(wxEVT_TIMER, &CAdWindow::OnTimerEvent, this);
    Bind(wxEVT_SIZE, &CAdWindow::OnSizeEvent, this);
    KeepRoomForScrollbars();
}

namespace {

constexpr const char* kPageJob = "pane-page";

bool IsWebAddress(const std::string& url) {
    return url.compare(0, 7, "http://") == 0 || url.compare(0, 8, "https://") == 0;
}

// A link of a web page made whole against the page's own address.
std::string Absolute(const std::string& url, const std::string& page) {
    if (page.empty() || url.empty() || url.front() == '#')
        return url;
    return WebAddress::Resolve(page, url);
}

// What the host sent, made into a page the window shows quickly, on the worker. Empty with a
// reason in `refusal` when it cannot be shown.
std::string PreparePage(const std::string& url, FetchResult& result, std::string& refusal) {
    const std::string type = WebPageCache::MimeType(result.headers);
    if (!type.empty() && type.compare(0, 5, "text/") != 0) {
        refusal = "the host sent " + type.substr(0, 80) + ", not a page";
        return {};
    }
    PageMarkup::Prepared page = PageMarkup::Prepare(result.body, url);
    if (!page.usable)
        refusal = page.note;
    else if (!page.note.empty())
        std::fprintf(stderr, "The page %s: %s\n", url.c_str(), page.note.c_str());
    result.body.clear();
    return std::move(page.html);
}

} // namespace

CAdWindow::~CAdWindow() {
    fetches_.Cancel(kPageJob);
    pictures_.StartPage();
    for (auto& timer : timers_)
        timer->Stop();
    settleTimer_.Stop();
}

bool CAdWindow::LoadPage(const wxString& location) {
    const std::string url = Absolute(location.utf8_string(), webPage_);
    if (AdPaneController::IsOwnLink(url)) {
        // Its questions, the download and what it loads run once the click is handled.
        CallAfter([this, url] { controller_->OnBeforeNavigate(url); });
        return false;
    }
    if (controller_->OnBeforeNavigate(url))
        return false;
    if (IsWebAddress(url)) {
        FetchPage(url);
        return true;
    }
    webPage_.clear();
    pictures_.StartPage();
    cache_.Unpin();
    bool loaded = false;
    {
        // A page that cannot be opened shows a short note instead of a log window.
        wxLogNull quiet;
        loaded = wxHtmlWindow::LoadPage(location);
    }
    if (!loaded)
        SetPage(kFailedPage);
    // The pane has no back button, and pages rotate for as long as the program runs.
    HistoryClear();
    CallAfter([this] { controller_->OnDocumentComplete(); });
    return loaded;
}

void CAdWindow::FetchPage(const std::string& url) {
    FetchRequest request;
    request.url = url;
    request.deadlineMs = FetchService::kPageDeadlineMs;
    request.maxBody = PageMarkup::kMaxBytes;
    // Filled on the worker, read once the result is on the main thread.
    auto refusal = std::make_shared<std::string>();
    fetches_.Fetch(
        kPageJob, request,
        [url, refusal](FetchResult& result, FetchCancel&) {
            if (result.Ok())
                result.body = PreparePage(url, result, *refusal);
        },
        [alive = std::weak_ptr<int>(life_), this, url, refusal](FetchResult& result) {
            if (alive.lock())
                OnPageFetched(url, result, *refusal);
        });
}

void CAdWindow::OnPageFetched(const std::string& url, FetchResult& result,
                              const std::string& refusal) {
    if (!result.Ok() || !refusal.empty()) {
        controller_->OnLoadFailed(url, result.Ok() ? refusal : result.error);
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    // The page shown keeps its pictures in the cache until another replaces it.
    if (url != webPage_)
        pictures_.StartPage();
    cache_.Pin(url);
    cache_.Put(url, {true, std::move(result.body), "text/html"});
    webPage_ = url;
    ShowCachedPage(url);
    lastShowTime_ = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    FetchPictures();
    CallAfter([this] { controller_->OnDocumentComplete(); });
}

void CAdWindow::ShowCachedPage(const std::string& url) {
    wxLogNull quiet;
    if (!wxHtmlWindow::LoadPage(wxString::FromUTF8(url)))
        SetPage(kFailedPage);
    HistoryClear();
}

void CAdWindow::FetchPictures() {
    pictures_.Add(cache_.TakeMissing());
}

void CAdWindow::OnLinkClicked(const wxHtmlLinkInfo& link) {
    const std::string href = link.GetHref().utf8_string();
    if (!href.empty() && href.front() == '#') {
        ScrollToAnchor(wxString::FromUTF8(href.substr(1)));
        return;
    }
    const std::string page = webPage_.empty() ? GetOpenedPage().utf8_string() : webPage_;
    const std::string url = page.empty() ? href : WebAddress::Resolve(page, href);
    if (controller_->OnLinkClicked(url))
        LoadPage(wxString::FromUTF8(url));
}

void CAdWindow::OnSetTitle(const wxString& title) {
    controller_->OnTitleChange(title.utf8_string());
}

void CAdWindow::Navigate(const std::string& url) {
    const wxString location = wxString::FromUTF8(url);
    if (!url.empty() && url.front() == '/')
        LoadPage(wxFileSystem::FileNameToURL(wxFileName(location)));
    else
        LoadPage(location);
}

void CAdWindow::SetWindowText(const std::string& text) {
    SetLabel(wxString::FromUTF8(text));
}

void CAdWindow::SetPaneHeight(int height, int minimum) {
    host_.SetInfoPaneHeight(height, minimum);
    // The controller hears of the height it set at once, as it would from a native resize.
    ReportHeight();
}

int CAdWindow::MinimumPaneHeight() const {
    return host_.InfoPaneMinimum();
}

void CAdWindow::Repaint() {
    Refresh();
    Update();
}

void CAdWindow::ShowStatus(const std::string& text) {
    auto* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame);
    if (frame && frame->GetStatusBar())
        frame->SetStatusText(wxString::FromUTF8(text), 0);
}

wxTimer* CAdWindow::Timer(int id) {
    if (id < 1 || id > kTimerCount)
        return nullptr;
    return timers_[static_cast<size_t>(id - 1)].get();
}

void CAdWindow::SetTimer(int id, int milliseconds) {
    if (wxTimer* timer = Timer(id))
        timer->StartOnce(std::max(milliseconds, 1));
}

void CAdWindow::KillTimer(int id) {
    if (wxTimer* timer = Timer(id))
        timer->Stop();
}

void CAdWindow::OnTimerEvent(wxTimerEvent& event) {
    if (event.GetId() == kSettleTimer) {
        // A sash drag counts once the button is up.
        if (wxGetMouseState().LeftIsDown())
            settleTimer_.StartOnce(kSettleMs);
        else
            ReportHeight();
        return;
    }
    controller_->OnTimer(event.GetId());
}

void CAdWindow::OnSizeEvent(wxSizeEvent& event) {
    event.Skip();
    if (!reporting_ && event.GetSize().GetHeight() != reportedHeight_)
        settleTimer_.StartOnce(kSettleMs);
}

int CAdWindow::ShownHeight() const {
    // The splitter hides a pane whose row is too low for it; it then shows nothing of it.
    return IsShown() ? GetSize().GetHeight() : 0;
}

void CAdWindow::ReportHeight() {
    const int height = ShownHeight();
    // A height the controller asks for while it hears of one is reported by the outer call.
    if (reporting_ || height == reportedHeight_)
        return;
    reporting_ = true;
    reportedHeight_ = height;
    ++reportedResizes_;
    controller_->OnSize(height);
    reporting_ = false;
    if (ShownHeight() != reportedHeight_)
        settleTimer_.StartOnce(kSettleMs);
}

void CAdWindow::KeepRoomForScrollbars() {
#ifdef __WXGTK__
    GtkWidget* widget = GetHandle();
    if (!widget || !GTK_IS_SCROLLED_WINDOW(widget))
        return;
    GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(widget);
    int least = 0;
    for (GtkWidget* bar : {gtk_scrolled_window_get_vscrollbar(scrolled),
                           gtk_scrolled_window_get_hscrollbar(scrolled)}) {
        int barHeight = 0;
        if (bar)
            gtk_widget_get_preferred_height(bar, &barHeight, nullptr);
        least += barHeight;
    }
    SetMinSize(wxSize(-1, least));
#endif
}
