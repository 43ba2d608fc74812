#pragma once
#include "dialogs/AdPaneCommands.h"
#include "dialogs/AdPaneController.h"
#include "dialogs/IAdPaneWindow.h"
#include "dialogs/IPaneTimers.h"
#include "document/IInfoPane.h"
#include "net/AdPaneLoader.h"
#include "net/IPaneBrowser.h"

#include <wx/html/htmlwin.h>
#include <wx/timer.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>

class IInfoPaneHost;
class WebPageCache;

// The information pane below the maze: a browser window that shows the pages the controller
// picks and sizes itself through the frame. Its timers are wx timers. The web host's pages
// and their pictures come through the page loader, so a load never waits on the network;
// "document complete" follows once the page is shown.
class CAdWindow : public wxHtmlWindow,
                  public IAdPaneWindow,
                  public IPaneTimers,
                  public IInfoPane,
                  public IPaneBrowser {
public:
    struct Services {
        IInfoPaneHost& host;
        IConnectivity& connectivity;
        IAdLinkActions& links;
        CProfile& profile;
        FetchService& fetches;
        WebPageCache& cache;
    };
    static constexpr const char* kFailedPage =
        "<html><body><p>This page could not be shown.</p></body></html>";

    CAdWindow(wxWindow* parent, Services services, WebEndpoint endpoint, std::string htmlFolder);
    ~CAdWindow() override;

    // The pane's first update; false when the program must end.
    bool Start() { return controller_->OnInitialUpdate(); }
    AdPaneController& Controller() { return *controller_; }
    // The gallery and update commands, for the frame to pass on.
    CCmdTarget& Commands() { return *commands_; }

    bool LoadPage(const wxString& location) override;
    void OnSetTitle(const wxString& title) override;
    void OnLinkClicked(const wxHtmlLinkInfo& link) override;

    void Navigate(const std::string& url) override;
    void SetWindowText(const std::string& text) override;
    void SetPaneHeight(int height, int minimum) override;
    int MinimumPaneHeight() const override;
    void Repaint() override;
    void ShowStatus(const std::string& text) override;

    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;

    void ShowPage(const std::string& url, bool again) override;
    void PageFailed(const std::string& url, const std::string& why) override;

    void Collapse() override { controller_->CollapsePane(); }
    void Restart() override { controller_->Restart(); }
    void ShowNextPageSoon() override { controller_->ShowNextPageSoon(); }
    bool InfoBoxVisible() const override { return controller_->InfoBoxVisible(); }
    void SetInfoBoxVisible(bool visible) override { controller_->SetInfoBoxVisible(visible); }

    // How many heights have been reported to the controller.
    int ReportedResizes() const { return reportedResizes_; }
    // How long the main thread spent showing the last page from the web host, parsing and
    // layout included.
    std::chrono::microseconds LastShowTime() const { return lastShowTime_; }

private:
    static constexpr int kTimerCount = 3;
    static constexpr int kSettleTimer = kTimerCount + 1;
    // Size events of one drag or frame resize are reported once, this long after the last.
    static constexpr int kSettleMs = 150;

    wxTimer* Timer(int id);
    void OnTimerEvent(wxTimerEvent& event);
    void OnSizeEvent(wxSizeEvent& event);
    void ReportHeight();
    int ShownHeight() const;
    // The toolkit lays its scrollbars out at any height the pane has and complains below
    // their least height: the splitter hides a pane lower than its least height.
    void KeepRoomForScrollbars();

    IInfoPaneHost& host_;
    AdPaneLoader loader_;
    std::array<std::unique_ptr<wxTimer>, kTimerCount> timers_;
    wxTimer settleTimer_;
    std::unique_ptr<AdPaneController> controller_;
    std::unique_ptr<AdPaneCommands> commands_;
    int reportedHeight_ = -1;
    int reportedResizes_ = 0;
    std::chrono::microseconds lastShowTime_{};
    bool reporting_ = false;
};
