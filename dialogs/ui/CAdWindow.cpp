#include "dialogs/ui/CAdWindow.h"

#include "dialogs/ui/PanePictureHandler.h"
#include "frame/IInfoPaneHost.h"
#include "net/WebAddress.h"

#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/utils.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

CAdWindow::CAdWindow(wxWindow* parent, Services services, WebEndpoint endpoint,
                     std::string htmlFolder)
    : wxHtmlWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHW_DEFAULT_STYLE),
      host_(services.host), loader_(services.fetches, services.cache, *this),
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

CAdWindow::~CAdWindow() {
    for (auto& timer : timers_)
        timer->Stop();
    settleTimer_.Stop();
}

bool CAdWindow::LoadPage(const wxString& location) {
    const std::string url = loader_.Absolute(location.utf8_string());
    if (AdPaneController::IsOwnLink(url)) {
        // Its questions, the download and what it loads run once the click is handled.
        CallAfter([this, url] { controller_->OnBeforeNavigate(url); });
        return false;
    }
    if (controller_->OnBeforeNavigate(url))
        return false;
    if (AdPaneLoader::IsWebAddress(url)) {
        loader_.Load(url);
        return true;
    }
    loader_.Leave();
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

void CAdWindow::ShowPage(const std::string& url, bool again) {
    const auto start = std::chrono::steady_clock::now();
    {
        wxLogNull quiet;
        if (!wxHtmlWindow::LoadPage(wxString::FromUTF8(url)))
            SetPage(kFailedPage);
    }
    HistoryClear();
    if (again)
        return;
    lastShowTime_ = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    CallAfter([this] { controller_->OnDocumentComplete(); });
}

void CAdWindow::PageFailed(const std::string& url, const std::string& why) {
    controller_->OnLoadFailed(url, why);
}

void CAdWindow::OnLinkClicked(const wxHtmlLinkInfo& link) {
    const std::string href = link.GetHref().utf8_string();
    if (!href.empty() && href.front() == '#') {
        ScrollToAnchor(wxString::FromUTF8(href.substr(1)));
        return;
    }
    const std::string page =
        loader_.Page().empty() ? GetOpenedPage().utf8_string() : loader_.Page();
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
