#pragma once
#include "app/CommandLineInfo.h"
#include "app/RecentFileList.h"
#include "app/WebLinks.h"
#include "gesture/CMouseGesture.h"
#include "net/AsyncConnectivity.h"
#include "net/CConnectivityCheck.h"
#include "net/EchoHostProbe.h"
#include "net/FetchService.h"
#include "net/InterfaceNetState.h"
#include "net/WebEndpoint.h"
#include "platform/CCmdTarget.h"

#include <functional>
#include <memory>
#include <string>

class CGridloomDoc;
class CGridloomView;
class CProfile;
class IAboutBox;

// The application object without its windows: the install and help folders, the gesture
// recogniser, the connectivity check and downloads, the command line, the recent files, the
// question before exit and the About and web-link commands. The program's entry drives the
// start-up steps in order and routes the commands here last.
class CGridloomApp : public CCmdTarget {
public:
    static constexpr const char* kTitle = "Orlimber STD";
    static constexpr const char* kPdfFailed = "The pages could not be written to %s.";

    explicit CGridloomApp(CProfile& profile);
    // Stops the probes and the workers before the objects they use go, waiting on no echo.
    ~CGridloomApp() override;
    CGridloomApp(const CGridloomApp&) = delete;
    CGridloomApp& operator=(const CGridloomApp&) = delete;

    CProfile& Profile() { return profile_; }

    // The profile's "install"/"path" when it names an existing folder, else share/orlimber
    // beside the program's bin/ folder, else `currentFolder`. Ends with '/'.
    static std::string ChooseInstallFolder(const CProfile& profile, const std::string& programPath,
                                           const std::string& currentFolder);
    void FindFolders(const std::string& programPath, const std::string& currentFolder);
    const std::string& InstallFolder() const { return installFolder_; }
    const std::string& HelpFolder() const { return helpFolder_; }

    // Loads (or trains and writes) the gesture weights and readies the web fetcher; the
    // recent list is read from the profile.
    void StartServices();
    CMouseGesture& Gesture() { return gesture_; }

    // The document the program shows: it takes the install folder and reports files opened
    // and saved to the recent list.
    void AttachDocument(CGridloomDoc& doc);

    // Opens the command line's file, showing why when it can't. False when start-up must end:
    // a file that does not open or words not understood.
    // `beforeMessage` runs before a failure is shown (the splash steps aside).
    bool ProcessCommandLine(const CommandLineInfo& info,
                            const std::function<void()>& beforeMessage = {});
    // Prints the opened file for /p and /pt with the stored print options: to a PDF file when
    // the printer's name ends in ".pdf", else through the view's printing. True only when
    // every page printed.
    bool PrintCommandLine(const CommandLineInfo& info, CGridloomView& view);
    static bool IsPdfName(const std::string& printer);
    // Print Setup runs `setup`; the command is disabled without one.
    void SetPrintSetup(std::function<void()> setup) { printSetup_ = std::move(setup); }
    // Reads `path` into the document; on failure the document's pending message says why.
    bool OpenDocumentFile(const std::string& path);

    // Tells the user, once, what the start-up found wrong with their settings (a damaged
    // profile that was set aside); quiet when there is nothing to say.
    void ShowStartupNotices();

    // "name.wkz - Orlimber STD".
    std::string WindowTitle() const;
    // Asks "Save changes to ...?" for a modified document. False when the program must keep
    // running: Cancel, or a save that was cancelled or failed.
    bool SaveModified();
    // Writes the recent list to the profile.
    void ExitInstance();

    RecentFileList& Recent() { return recent_; }
    // Opens recent entry `index` after offering to save; an entry that fails is dropped.
    void OpenRecent(std::size_t index);

    // The connectivity check for the main thread: answers through the event loop.
    IConnectivity& Connectivity() { return asyncConnectivity_; }
    FetchService& Fetches() { return fetches_; }

    struct Download {
        std::string url;
        std::string prefix;
        // A path, or "TEMP" for a new temporary file named after the prefix.
        std::string destination;
        // What the status bar calls it.
        std::string what;
        // Runs on the worker with the written file; an error text refuses it.
        std::function<std::string(const std::string& path)> onWorker;
    };
    // The path written (empty on failure) and why it failed; on the main thread.
    using DownloadDone = std::function<void(const std::string& path, const std::string& error)>;
    // Waits for a connection (asking the user when there is none), then downloads on a worker;
    // a newer download supersedes a running one. Progress shows through the status reporter
    // once the download takes longer than a moment.
    void DownloadFile(Download download, DownloadDone done);
    bool Downloading() const { return fetches_.Busy(kDownloadJob); }
    void CancelDownload();
    void SetStatusReporter(std::function<void(const std::string&)> report) {
        status_ = std::move(report);
    }
    long long FetchedLength() const { return fetchedLength_; }
    // A note on the status bar (empty: "Ready").
    void ShowStatus(const std::string& text) {
        if (status_)
            status_(text);
    }

    void SetAboutBox(IAboutBox* box) { aboutBox_ = box; }
    // Hands a link command's page to the desktop on a worker; says so, later, when the desktop
    // refuses. False when the command has no page.
    bool OpenLink(UINT command);

    bool splashUp = false;

    static constexpr const char* kDownloadJob = "download";
    static constexpr int kProgressAfterMs = 500;

private:
    void RegisterCommands();
    void StartDownload(std::shared_ptr<Download> download, DownloadDone done);
    void AskForConnection(std::shared_ptr<Download> download, DownloadDone done, int prompts);
    void RememberFile(const std::string& path);
    std::string TakeProfileNotice();

    CProfile& profile_;
    std::string installFolder_;
    std::string helpFolder_;
    CMouseGesture gesture_;
    WebEndpoint endpoint_;
    InterfaceNetState netState_;
    EchoHostProbe probe_;
    CConnectivityCheck connectivity_;
    FetchService fetches_;
    AsyncConnectivity asyncConnectivity_;
    std::function<void(const std::string&)> status_;
    WebLinks links_;
    RecentFileList recent_;
    CGridloomDoc* doc_ = nullptr;
    IAboutBox* aboutBox_ = nullptr;
    std::function<void()> printSetup_;
    long long fetchedLength_ = -1;
};
