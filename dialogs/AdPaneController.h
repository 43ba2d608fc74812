#pragma once
#include "dialogs/AdPageList.h"
#include "net/CWebGrab.h"
#include "net/WebEndpoint.h"
#include "platform/WinTypes.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

class CProfile;
class FetchService;
class IAdLinkActions;
class IAdPaneWindow;
class IConnectivity;
class IPaneTimers;

// The information pane's behaviour, apart from its window: which page comes next (the web
// host's info page while online, else the local pages in turn), the heights and timers that
// the pages' titles ask for, the galleries, the download links and the update offer.
class AdPaneController {
public:
    enum Timer { kRotateTimer = 1, kOpenTimer = 2, kCollapseTimer = 3 };
    static constexpr int kCollapseStepMs = 50;
    // Timer 1 armed from a page's rotation period never fires sooner than this, so no page is
    // asked for more than twice a minute.
    static constexpr int kMinRotationMs = 30000;
    static constexpr int kGalleryHeight = 10000;
    static constexpr int kGalleryLoaded = -1;
    static constexpr int kGalleryResized = -2;
    // A page that failed or carried no title-control string is not asked for again sooner.
    static constexpr int kBackOffMs = 30000;
    static constexpr const char* kUnreachableText =
        "The web host cannot be reached (%s); the program's own pages are shown instead.";
    using Clock = std::chrono::steady_clock;

    static constexpr UINT kCmdMaskGallery = 32796;
    static constexpr UINT kCmdTemplateGallery = 32798;
    static constexpr UINT kCmdCheckUpdates = 32802;
    static constexpr UINT kCmdTilerGallery = 32828;

    struct Services {
        IAdPaneWindow& window;
        IPaneTimers& timers;
        IConnectivity& connectivity;
        IAdLinkActions& links;
        CProfile& profile;
        FetchService& fetches;
    };

    // `htmlFolder` holds the local pages and their list.
    AdPaneController(Services services, WebEndpoint endpoint, std::string htmlFolder);
    ~AdPaneController();
    AdPaneController(const AdPaneController&) = delete;
    AdPaneController& operator=(const AdPaneController&) = delete;

    // Reloads the page list, then checks the connection and the version without waiting on
    // them (the answers arrive through the event loop). False when the program must end: the
    // first list could not be read (the message has been shown).
    bool OnInitialUpdate();
    // A new or opened document: the pane collapses and its first update runs again.
    void Restart();
    void OnTimer(int id);
    void OnTitleChange(const std::string& title);
    void OnDocumentComplete();
    // The page at `url` could not be fetched, for `why`.
    void OnLoadFailed(const std::string& url, const std::string& why);
    // Tests step the pane's clock.
    void SetClock(std::function<Clock::time_point()> now) { now_ = std::move(now); }
    void OnSize(int height);
    // True when the navigation to `url` must not happen (the pane's own links).
    bool OnBeforeNavigate(const std::string& url);
    // The pane's own links ("mz..."), which never navigate.
    static bool IsOwnLink(std::string_view url);
    // True when the pane goes to the link the user clicked (absolute `url`): the web host, the
    // program's own pages and the pane's own links. Other web addresses open in the desktop's
    // browser; anything else is ignored. Either is noted in the status bar.
    bool OnLinkClicked(const std::string& url);
    static constexpr const char* kBrowserText = "Opened in the web browser: %s";
    static constexpr const char* kNoBrowserText = "The web browser could not be started for %s";
    static constexpr const char* kIgnoredText = "The information pane does not follow %s links: %s";
    // The gallery and update commands; false for other commands.
    bool OnCommand(UINT id);

    // 1: the latest download page, 0: the update check page.
    void ShowUpdatePage(int latest);
    void CollapsePane();
    void ShowNextPageSoon();
    bool InfoBoxVisible() const { return infoBox_; }
    void SetInfoBoxVisible(bool visible) { infoBox_ = visible; }

    bool Online() const { return online_; }
    bool InGallery() const { return gallery_; }
    int Mode() const { return mode_; }
    int RotationMs() const { return rotationMs_; }
    int LoadHeight() const { return loadHeight_; }
    int SecondHeight() const { return secondHeight_; }
    int OpenDelayMs() const { return openDelayMs_; }
    int CollapseDelayMs() const { return collapseDelayMs_; }
    const std::string& Message() const { return message_; }
    const AdPageList& Pages() const { return pages_; }

private:
    // Wraps a callback so it does nothing once the controller is gone.
    template <typename... Args>
    std::function<void(Args...)> WhileAlive(std::function<void(Args...)> callback) const {
        return [alive = std::weak_ptr<int>(life_), callback](Args... args) {
            if (alive.lock())
                callback(args...);
        };
    }
    void ShowGallery(std::string_view query);
    void ShowNextLocalPage();
    void ShowPage(const std::string& url);
    void EndGallery();
    void AskForLatestVersion();
    void OnVersionKnown(bool differs);
    void RotateOnline(bool online);
    // Keeps `url` from being asked for again before the back-off has passed.
    void BackOff(const std::string& url);
    bool BackingOff(const std::string& url) const;
    // A file address inside the program's html folder.
    bool IsLocalPage(const std::string& url) const;
    void OpenInBrowser(const std::string& url);
    // Asks, then hands a download link of `kind` to the application.
    void FollowLink(const std::string& kind, const std::string& target);

    Services s_;
    WebEndpoint endpoint_;
    std::string htmlFolder_;
    AdPageList pages_;
    bool listLoaded_ = false;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
    std::shared_ptr<std::mutex> browserLock_ = std::make_shared<std::mutex>();
    std::function<Clock::time_point()> now_ = [] { return Clock::now(); };
    std::map<std::string, Clock::time_point> backOff_;
    std::string pageUrl_;
    bool titleSeen_ = false;
    // The page's own title gave a rotation above 0.
    bool rotationGiven_ = false;
    // The download page is offered once per run; the pane lives as long as the program.
    bool updateOffered_ = false;
    bool infoBox_ = true;
    bool gallery_ = false;
    bool online_ = false;
    int collapseDelayMs_ = 0;
    std::string message_;
    int openDelayMs_ = 0;
    int secondHeight_ = 0;
    int loadHeight_ = 0;
    int rotationMs_ = 0;
    int mode_ = 0;
};
