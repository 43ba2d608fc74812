#include "dialogs/AdPaneController.h"

#include "dialogs/AdTitle.h"
#include "dialogs/IAdLinkActions.h"
#include "dialogs/IAdPaneWindow.h"
#include "dialogs/IPaneTimers.h"
#include "net/FetchService.h"
#include "net/IConnectivity.h"
#include "net/VersionCheck.h"
#include "net/WebAddress.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <mutex>

namespace {

constexpr const char* kAdsSection = "Ads";
constexpr const char* kLastAdEntry = "LastAd";
constexpr const char* kNoLastAd = "NoLastCode";
// Purposes of the pane's own jobs in the fetch service.
constexpr const char* kVersionJob = "pane-version";

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace

AdPaneController::AdPaneController(Services services, WebEndpoint endpoint, std::string htmlFolder)
    : s_(services), endpoint_(std::move(endpoint)), htmlFolder_(std::move(htmlFolder)) {}

AdPaneController::~AdPaneController() {
    s_.fetches.Cancel(kVersionJob);
}

bool AdPaneController::OnInitialUpdate() {
    gallery_ = false;
    const AdPageList::Load load = pages_.LoadFrom(htmlFolder_);
    if (load == AdPageList::Load::Ok) {
        listLoaded_ = true;
    } else if (!listLoaded_) {
        AfxMessageBox(load == AdPageList::Load::TooFew ? AdPageList::kTooFewText
                                                       : AdPageList::kFileErrorText,
                      MB_OK);
        return false;
    } else {
        std::fprintf(stderr, "The page list in %s could not be read again; keeping the old one\n",
                     htmlFolder_.c_str());
    }
    s_.connectivity.Check(0, WhileAlive(std::function<void(bool)>([this](bool online) {
                              online_ = online;
                              if (online_)
                                  AskForLatestVersion();
                              else
                                  OnVersionKnown(false);
                          })));
    return true;
}

void AdPaneController::Restart() {
    CollapsePane();
    OnInitialUpdate();
}

void AdPaneController::AskForLatestVersion() {
    FetchRequest request;
    request.url = endpoint_.RedirectUrl("LOC=latestversion&VER=") + kWebVersionCode;
    request.maxBody = VersionCheck::kMaxReply;
    request.deadlineMs = FetchService::kPageDeadlineMs;
    s_.fetches.Fetch(kVersionJob, request,
                     WhileAlive(std::function<void(FetchResult&)>([this](FetchResult& result) {
                         OnVersionKnown(VersionCheck::IsUpdate(result.fetched, result.status,
                                                               result.body, kWebVersionCode));
                     })));
}

void AdPaneController::OnVersionKnown(bool differs) {
    if (!differs) {
        s_.timers.SetTimer(kRotateTimer, 1);
    } else if (!updateOffered_) {
        updateOffered_ = true;
        ShowUpdatePage(1);
    }
}

void AdPaneController::OnTimer(int id) {
    s_.timers.KillTimer(id);
    switch (id) {
    case kRotateTimer:
        s_.connectivity.Check(0, WhileAlive(std::function<void(bool)>(
                                     [this](bool online) { RotateOnline(online); })));
        break;
    case kOpenTimer:
        s_.window.SetPaneHeight(secondHeight_, secondHeight_);
        s_.timers.SetTimer(kCollapseTimer, std::max(collapseDelayMs_, 1));
        break;
    case kCollapseTimer: {
        // The resize this step causes is not a height the user set: the shrink keeps its own
        // target, so it ends even when the frame gives the pane more than was asked.
        const int next = secondHeight_ * 9 / 10;
        s_.window.SetPaneHeight(next, 0);
        secondHeight_ = next;
        if (secondHeight_ > 0)
            s_.timers.SetTimer(kCollapseTimer, kCollapseStepMs);
        break;
    }
    default:
        break;
    }
}

void AdPaneController::RotateOnline(bool online) {
    online_ = online;
    if (!infoBox_) {
        s_.window.SetPaneHeight(1, 0);
        s_.timers.KillTimer(kRotateTimer);
        return;
    }
    const std::string info = endpoint_.RedirectUrl("LOC=info");
    // A host that failed lately is left alone; the program's own pages stand in.
    if (online_ && !BackingOff(info))
        ShowPage(info);
    else
        ShowNextLocalPage();
    s_.timers.KillTimer(kOpenTimer);
    s_.timers.KillTimer(kCollapseTimer);
}

void AdPaneController::ShowPage(const std::string& url) {
    pageUrl_ = url;
    titleSeen_ = false;
    rotationGiven_ = false;
    s_.window.Navigate(url);
}

void AdPaneController::BackOff(const std::string& url) {
    backOff_[url] = now_() + std::chrono::milliseconds(std::max(rotationMs_, kBackOffMs));
}

bool AdPaneController::BackingOff(const std::string& url) const {
    const auto found = backOff_.find(url);
    return found != backOff_.end() && now_() < found->second;
}

void AdPaneController::ShowNextLocalPage() {
    const auto& entries = pages_.Entries();
    if (entries.empty())
        return;
    const std::string last = s_.profile.GetProfileString(kAdsSection, kLastAdEntry, kNoLastAd);
    const CAdList& next = entries[pages_.NextAfter(last)];
    ShowPage(next.location);
    s_.profile.WriteProfileString(kAdsSection, kLastAdEntry, next.pageId);
}

void AdPaneController::OnTitleChange(const std::string& title) {
    if (!AdTitle::IsControl(title))
        return;
    s_.window.SetWindowText(title);
    titleSeen_ = true;
    const AdTitle::Values v = AdTitle::Parse(title);
    mode_ = v.mode.value_or(mode_);
    rotationMs_ = v.rotationMs.value_or(rotationMs_);
    rotationGiven_ = rotationGiven_ || (v.rotationMs && *v.rotationMs > 0);
    loadHeight_ = v.loadHeight.value_or(loadHeight_);
    secondHeight_ = v.secondHeight.value_or(secondHeight_);
    openDelayMs_ = v.openDelayMs.value_or(openDelayMs_);
    collapseDelayMs_ = v.collapseDelayMs.value_or(collapseDelayMs_);
    message_ = v.message;
}

void AdPaneController::OnDocumentComplete() {
    if (mode_ == 2)
        AfxMessageBox(message_, MB_OK);
    if (gallery_) {
        rotationMs_ = kGalleryLoaded;
        s_.window.SetPaneHeight(kGalleryHeight, 1);
    } else if (infoBox_ && (!titleSeen_ || !rotationGiven_)) {
        // A page that does not steer the pane, or gives it no rotation of its own, is not
        // asked for again soon; a web page gives way to the program's own pages at once.
        BackOff(pageUrl_);
        const bool web = pageUrl_.compare(0, 4, "http") == 0;
        s_.timers.SetTimer(kRotateTimer, web ? 1 : std::max(rotationMs_, kBackOffMs));
    } else if (infoBox_) {
        s_.timers.SetTimer(kRotateTimer, std::max(rotationMs_, kMinRotationMs));
        s_.timers.SetTimer(kOpenTimer, std::max(openDelayMs_, 1));
        s_.window.SetPaneHeight(loadHeight_, loadHeight_);
    }
    rotationGiven_ = false;
}

void AdPaneController::OnLoadFailed(const std::string& url, const std::string& why) {
    std::fprintf(stderr, "The page %s could not be shown: %s\n", url.c_str(), why.c_str());
    BackOff(url);
    if (gallery_) {
        // The user asked for the page: they learn why it does not come.
        gallery_ = false;
        BackOff(endpoint_.RedirectUrl("LOC=info"));
        AfxMessageBox(Format(kUnreachableText, why.c_str()), MB_OK | MB_ICONWARNING);
    }
    if (infoBox_)
        s_.timers.SetTimer(kRotateTimer, 1);
}

void AdPaneController::OnSize(int height) {
    int minimum = 0;
    if (infoBox_) {
        if (rotationMs_ == kGalleryResized)
            EndGallery();
        else if (rotationMs_ == kGalleryLoaded)
            rotationMs_ = kGalleryResized;
        minimum = s_.window.MinimumPaneHeight();
    }
    if (height < minimum) {
        s_.window.SetPaneHeight(minimum, minimum);
    } else if (minimum == 0) {
        s_.timers.KillTimer(kCollapseTimer);
        secondHeight_ = height;
    }
    s_.window.Repaint();
}

void AdPaneController::EndGallery() {
    gallery_ = false;
    s_.timers.SetTimer(kRotateTimer, 1);
}

void AdPaneController::ShowGallery(std::string_view query) {
    gallery_ = true;
    s_.timers.KillTimer(kRotateTimer);
    s_.timers.KillTimer(kOpenTimer);
    s_.timers.KillTimer(kCollapseTimer);
    const std::string url = endpoint_.RedirectUrl(query) + kWebVersionCode;
    s_.connectivity.Check(0, WhileAlive(std::function<void(bool)>([this, url](bool online) {
                              online_ = online;
                              if (online)
                                  ShowPage(url);
                              else
                                  OnLoadFailed(url, "no connection");
                          })));
}

void AdPaneController::ShowUpdatePage(int latest) {
    ShowGallery(latest == 1 ? "LOC=latestdownload&VER=" : "LOC=CHECKUPDATE&VER=");
}

bool AdPaneController::OnCommand(UINT id) {
    switch (id) {
    case kCmdTemplateGallery:
        ShowGallery("LOC=templates_v2&MAX_VER=2.000&VER=");
        return true;
    case kCmdMaskGallery:
        ShowGallery("LOC=MASKS&MAX_VER=1.000&VER=");
        return true;
    case kCmdTilerGallery:
        ShowGallery("LOC=TILERS&MAX_VER=1.500&VER=");
        return true;
    case kCmdCheckUpdates:
        ShowUpdatePage(0);
        return true;
    default:
        return false;
    }
}

void AdPaneController::CollapsePane() {
    gallery_ = false;
    secondHeight_ = 0;
    s_.window.SetPaneHeight(1, 0);
    s_.window.Repaint();
}

void AdPaneController::ShowNextPageSoon() {
    s_.timers.SetTimer(kRotateTimer, 1);
}

bool AdPaneController::IsOwnLink(std::string_view url) {
    return Upper(url.substr(0, 2)) == "MZ";
}

bool AdPaneController::OnBeforeNavigate(const std::string& url) {
    const std::string scheme = WebAddress::SchemeOf(url);
    if ((scheme == "http" || scheme == "https") && !endpoint_.IsOnWebHost(url)) {
        // Only the web host's pages are fetched; a page list entry elsewhere counts as failed.
        OnLoadFailed(url, "it is not on the web host " + endpoint_.Base());
        return true;
    }
    if (!IsOwnLink(url))
        return false;
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos || colon <= 2)
        return true;
    // The link takes the web host's scheme, so an https host is never asked over plain http.
    FollowLink(Upper(url.substr(2, colon - 2)), endpoint_.Scheme() + url.substr(colon));
    return true;
}

void AdPaneController::FollowLink(const std::string& kind, const std::string& target) {
    std::string question;
    UINT type = MB_YESNO;
    if (kind == "MASK") {
        question = "Apply " + kind + " to current maze?";
        type |= MB_ICONWARNING;
    } else if (kind == "TILER") {
        question = "Download " + kind + "?";
    } else if (kind == "TEMPLATE") {
        question = "Use " + kind + " as current maze?";
    } else {
        return;
    }
    if (!endpoint_.IsOnWebHost(target)) {
        AfxMessageBox("Downloads come only from " + endpoint_.Base() + "; this link to " +
                          target.substr(0, 200) + " was not followed.",
                      MB_OK | MB_ICONWARNING);
        return;
    }
    if (AfxMessageBox(question, type) != IDYES)
        return;
    if (kind == "MASK")
        s_.links.ApplyMask(target);
    else if (kind == "TILER")
        s_.links.DownloadTiler(target);
    else
        s_.links.UseTemplate(target);
    EndGallery();
}

bool AdPaneController::IsLocalPage(const std::string& url) const {
    const WebAddress address = WebAddress::Parse(url);
    if (address.scheme != "file" ||
        (!address.authority.empty() && address.authority != "localhost"))
        return false;
    std::string path;
    for (std::size_t i = 0; i < address.path.size(); ++i) {
        const char c = address.path[i];
        if (c == '%' && i + 2 < address.path.size() &&
            std::isxdigit(static_cast<unsigned char>(address.path[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(address.path[i + 2]))) {
            path += static_cast<char>(std::stoi(address.path.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += c;
        }
    }
    std::error_code error;
    const auto page = std::filesystem::weakly_canonical(path, error);
    const auto folder = std::filesystem::weakly_canonical(htmlFolder_, error);
    if (error || path.find('\0') != std::string::npos)
        return false;
    const auto inside = page.lexically_relative(folder);
    return !inside.empty() && *inside.begin() != ".." && inside.is_relative();
}

void AdPaneController::OpenInBrowser(const std::string& url) {
    s_.window.ShowStatus(Format(kBrowserText, url.substr(0, 200).c_str()));
    // The desktop may take a moment to say whether it opened the page; the window goes on.
    // One desktop request at a time: the shell service is not asked from two threads at once.
    s_.fetches.Run({},
                   [url, this, alive = std::weak_ptr<int>(life_),
                    lock = browserLock_](FetchService::Worker&) -> MainThread::Task {
                       bool opened = false;
                       {
                           std::lock_guard hold(*lock);
                           opened = IShell::Current().Open(url);
                       }
                       if (opened)
                           return {};
                       return [url, this, alive] {
                           if (alive.lock())
                               s_.window.ShowStatus(
                                   Format(kNoBrowserText, url.substr(0, 200).c_str()));
                       };
                   });
}

bool AdPaneController::OnLinkClicked(const std::string& url) {
    if (IsOwnLink(url) || endpoint_.IsOnWebHost(url) || IsLocalPage(url))
        return true;
    const std::string scheme = WebAddress::SchemeOf(url);
    if (scheme == "http" || scheme == "https") {
        OpenInBrowser(url);
        return false;
    }
    s_.window.ShowStatus(Format(kIgnoredText, scheme.empty() ? "such" : (scheme + ":").c_str(),
                                url.substr(0, 200).c_str()));
    return false;
}
