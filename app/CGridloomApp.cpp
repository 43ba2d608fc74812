#include "app/CGridloomApp.h"

#include "app/IAboutBox.h"
#include "document/CGridloomDoc.h"
#include "document/WkzFileCommands.h"
#include "net/CIcmpEcho.h"
#include "net/CWebGrab.h"
#include "net/CurlGlobal.h"
#include "net/FileDownload.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"
#include "platform/MessageBox.h"
#include "platform/PdfPrintPageService.h"
#include "platform/Shell.h"
#include "platform/TextFormat.h"
#include "res/CommandIds.h"
#include "view/CGridloomView.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

} // namespace

CGridloomApp::CGridloomApp(CProfile& profile)
    : profile_(profile), gesture_(CrtRandom::Main()), endpoint_(profile),
      netState_(endpoint_.ProbeHosts()), probe_(CIcmpEcho::Instance(), endpoint_.BasePort()),
      connectivity_(netState_, probe_, endpoint_.ProbeHosts()), fetches_(endpoint_),
      asyncConnectivity_(connectivity_, fetches_), links_(profile) {
    RegisterCommands();
}

CGridloomApp::~CGridloomApp() {
    probe_.Stop();
    // The workers use the members below; they end before any of them goes.
    fetches_.Close();
}

void CGridloomApp::RegisterCommands() {
    OnCommand(ID_APP_ABOUT, [this] {
        if (aboutBox_)
            aboutBox_->Show(WebLinks::kAboutText);
        else
            AfxMessageBox(WebLinks::kAboutText, MB_OK | MB_ICONINFORMATION);
    });
    for (UINT command : {ID_HOME_PAGE, ID_HEAR_ABOUT, ID_USER_MANUAL, ID_FORUM, ID_MAILING_LIST})
        OnCommand(command, [this, command] { OpenLink(command); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] {
        if (printSetup_)
            printSetup_();
    });
    OnUpdate(ID_FILE_PRINT_SETUP, [this](CCmdUI& ui) { ui.Enable(bool(printSetup_)); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4,
                   [this](UINT id) { OpenRecent(id - ID_FILE_MRU_FILE1); });
    OnUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](CCmdUI& ui) {
        const std::size_t index = ui.m_nID - ID_FILE_MRU_FILE1;
        if (recent_.Empty() && index == 0) {
            ui.SetText("Recent File");
            ui.Enable(false);
            return;
        }
        ui.Enable(index < recent_.Files().size());
        if (index < recent_.Files().size())
            ui.SetText(recent_.MenuText(index));
    });
}

std::string CGridloomApp::ChooseInstallFolder(const CProfile& profile,
                                              const std::string& programPath,
                                              const std::string& currentFolder) {
    const std::string stored = profile.GetProfileString("install", "path");
    if (IsFolder(stored))
        return WithSlash(stored);
    if (!programPath.empty()) {
        const fs::path share =
            (fs::path(programPath).parent_path() / ".." / "share" / "orlimber").lexically_normal();
        if (IsFolder(share))
            return WithSlash(share.string());
    }
    return WithSlash(currentFolder);
}

void CGridloomApp::FindFolders(const std::string& programPath, const std::string& currentFolder) {
    installFolder_ = ChooseInstallFolder(profile_, programPath, currentFolder);
    helpFolder_ = installFolder_ + "help/";
}

void CGridloomApp::StartServices() {
    gesture_.LoadOrTrain(CMouseGesture::WeightsPath(profile_), profile_);
    CurlGlobal::Ensure();
    recent_.Load(profile_);
}

void CGridloomApp::AttachDocument(CGridloomDoc& doc) {
    doc_ = &doc;
    doc.installFolder = installFolder_;
    doc.SetFileListener([this](const std::string& path) { RememberFile(path); });
}

void CGridloomApp::RememberFile(const std::string& path) {
    recent_.Add(path);
    recent_.Save(profile_);
}

bool CGridloomApp::ProcessCommandLine(const CommandLineInfo& info,
                                      const std::function<void()>& beforeMessage) {
    if (!info.Ok()) {
        AfxMessageBox(info.error, MB_OK | MB_ICONERROR);
        return false;
    }
    switch (info.action) {
    case CommandLineInfo::Action::New:
    case CommandLineInfo::Action::Help:
        return true;
    case CommandLineInfo::Action::Print:
    case CommandLineInfo::Action::PrintTo:
    case CommandLineInfo::Action::Open:
        break;
    }
    if (OpenDocumentFile(info.file))
        return true;
    if (doc_ && !doc_->pendingMessage.empty()) {
        const std::string message = doc_->pendingMessage;
        doc_->pendingMessage.clear();
        if (beforeMessage)
            beforeMessage();
        AfxMessageBox(message, MB_OK | MB_ICONWARNING);
    }
    return false;
}

bool CGridloomApp::IsPdfName(const std::string& printer) {
    static constexpr std::string_view kPdf = ".pdf";
    if (printer.size() <= kPdf.size())
        return false;
    const std::string tail = printer.substr(printer.size() - kPdf.size());
    return std::equal(tail.begin(), tail.end(), kPdf.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool CGridloomApp::PrintCommandLine(const CommandLineInfo& info, CGridloomView& view) {
    if (info.action == CommandLineInfo::Action::PrintTo && IsPdfName(info.printer)) {
        // Letter paper at 600 dots per inch, printable to the edge.
        PdfPrintPageService pages(info.printer, PrintPageSetup{});
        if (view.PrintAll(pages, doc_ ? doc_->GetTitle() : info.file))
            return true;
        AfxMessageBox(pages.Error().empty() ? Format(kPdfFailed, info.printer.c_str())
                                            : pages.Error(),
                      MB_OK | MB_ICONERROR);
        return false;
    }
    return view.PrintStored(info.action == CommandLineInfo::Action::PrintTo ? info.printer
                                                                            : std::string());
}

bool CGridloomApp::OpenDocumentFile(const std::string& path) {
    if (!doc_)
        return false;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    doc_->pendingMessage.clear();
    return WkzFileCommands::OpenFile(*doc_, error ? path : absolute.lexically_normal().string());
}

void CGridloomApp::ShowStartupNotices() {
    if (const std::string notice = TakeProfileNotice(); !notice.empty())
        AfxMessageBox(notice, MB_OK | MB_ICONWARNING);
}

// A damaged settings file was set aside when the profile was read; the user must hear that
// their settings went back to the defaults.
std::string CGridloomApp::TakeProfileNotice() {
    return profile_.TakeSetAsideNotice();
}

std::string CGridloomApp::WindowTitle() const {
    return (doc_ ? doc_->GetTitle() : std::string("Untitled")) + " - " + kTitle;
}

bool CGridloomApp::SaveModified() {
    if (!doc_ || !doc_->IsModified())
        return true;
    switch (AfxMessageBox("Save changes to " + doc_->GetTitle() + "?",
                          MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDNO:
        return true;
    case IDYES:
        doc_->RunCommand(ID_FILE_SAVE);
        // Only a save that went through clears the flag.
        return !doc_->IsModified();
    default:
        return false;
    }
}

void CGridloomApp::ExitInstance() {
    recent_.Save(profile_);
}

void CGridloomApp::OpenRecent(std::size_t index) {
    if (index >= recent_.Files().size() || !SaveModified())
        return;
    const std::string path = recent_.Files()[index];
    if (OpenDocumentFile(path))
        return;
    recent_.Remove(path);
    recent_.Save(profile_);
}

void CGridloomApp::DownloadFile(Download download, DownloadDone done) {
    auto shared = std::make_shared<Download>(std::move(download));
    asyncConnectivity_.Check(0, [this, shared, done](bool online) {
        if (online)
            StartDownload(shared, done);
        else
            AskForConnection(shared, done, 0);
    });
}

void CGridloomApp::AskForConnection(std::shared_ptr<Download> download, DownloadDone done,
                                    int prompts) {
    if (prompts >= FileDownload::kMaxConnectionPrompts ||
        AfxMessageBox(FileDownload::kNoConnectionText, MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        done({}, "No Internet connection");
        return;
    }
    // The user says the line is up: ask the hosts now rather than trust the last failure.
    asyncConnectivity_.Check(1, [this, download, done, prompts](bool online) {
        if (online)
            StartDownload(download, done);
        else
            AskForConnection(download, done, prompts + 1);
    });
}

void CGridloomApp::StartDownload(std::shared_ptr<Download> download, DownloadDone done) {
    fetchedLength_ = -1;
    FetchRequest request;
    request.url = download->url;
    request.deadlineMs = FetchService::kDownloadDeadlineMs;
    const auto started = std::chrono::steady_clock::now();
    request.progress = [this, download, started](std::uint64_t got, std::uint64_t total) {
        if (std::chrono::steady_clock::now() - started <
            std::chrono::milliseconds(kProgressAfterMs))
            return;
        std::string text =
            "Downloading " + download->what + ": " + std::to_string(got / 1024) + " KB";
        if (total > 0)
            text += " of " + std::to_string(total / 1024) + " KB";
        ShowStatus(text + " (Esc cancels)");
    };
    // A temporary file goes with the outcome, whether or not its result is ever delivered.
    struct Outcome {
        std::string path;
        std::string error;
        std::size_t length = 0;
        bool temporary = false;
        ~Outcome() {
            if (temporary && !path.empty())
                ::unlink(path.c_str());
        }
    };
    auto outcome = std::make_shared<Outcome>();
    outcome->temporary = download->destination == FileDownload::kTempDestination;
    fetches_.Run(
        kDownloadJob,
        [this, request, download, outcome, done](FetchService::Worker& worker) -> MainThread::Task {
            CWebGrab grab;
            fetches_.Configure(grab, request, worker);
            FileDownload file(connectivity_, grab);
            outcome->path =
                file.FetchConnected(download->url, download->prefix, download->destination);
            outcome->error = file.Error();
            outcome->length = file.Length();
            if (!outcome->path.empty() && download->onWorker) {
                outcome->error = download->onWorker(outcome->path);
                if (!outcome->error.empty()) {
                    if (outcome->temporary)
                        ::unlink(outcome->path.c_str());
                    outcome->path.clear();
                }
            }
            return [this, outcome, done] {
                ShowStatus("");
                if (!outcome->path.empty())
                    fetchedLength_ = static_cast<long long>(outcome->length);
                done(outcome->path, outcome->error);
            };
        });
}

void CGridloomApp::CancelDownload() {
    if (!Downloading())
        return;
    fetches_.Cancel(kDownloadJob);
    ShowStatus("The download was cancelled");
}

bool CGridloomApp::OpenLink(UINT command) {
    const std::string url = links_.Url(command);
    if (url.empty())
        return false;
    // The desktop may take a few seconds to say whether it opened the page: the windows go on
    // meanwhile, and a refusal is told when it comes.
    fetches_.Run({}, [url](FetchService::Worker&) -> MainThread::Task {
        if (IShell::Current().Open(url))
            return {};
        return [url] {
            AfxMessageBox("The web page " + url + " could not be opened.", MB_OK | MB_ICONWARNING);
        };
    });
    return true;
}
