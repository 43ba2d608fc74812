#include "app/AdLinkActions.h"
#include "app/CGridloomApp.h"
#include "app/CommandLineInfo.h"
#include "app/PrintFileCheck.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/RecentFileMenu.h"
#include "dialogs/ui/BitmapSetupAsker.h"
#include "dialogs/ui/CAdWindow.h"
#include "dialogs/ui/CUltraSplashWnd.h"
#include "dialogs/ui/SettingsSheet.h"
#include "dialogs/ui/WebPageFSHandler.h"
#include "document/CGridloomDoc.h"
#include "frame/GridloomDocState.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "net/WebEndpoint.h"
#include "net/WebPageCache.h"
#include "platform/CProfile.h"
#include "platform/CanberraSound.h"
#include "platform/MainThread.h"
#include "platform/XdgOpenShell.h"
#include "platform/wx/WxAssertLog.h"
#include "platform/wx/WxBusyCursor.h"
#include "platform/wx/WxClipboard.h"
#include "platform/wx/WxCommandIds.h"
#include "platform/wx/WxFileDialog.h"
#include "platform/wx/WxFontDialog.h"
#include "platform/wx/WxMessageBox.h"
#include "platform/wx/WxPrintSession.h"
#include "res/CommandCatalog.h"
#include "res/CommandIds.h"
#include "res/SplashPicture.h"
#include "view/CGridloomView.h"
#include "view/ui/MazeViewWindow.h"
#include "view/ui/WxPrintJobs.h"

#include <wx/app.h>
#include <wx/filesys.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/stdpaths.h>
#include <wx/weakref.h>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

class OrlimberApp : public wxApp {
public:
    bool OnInit() override {
        // Workers hand their results to the windows through the event loop.
        MainThread::Mark();
        MainThread::SetPoster([](MainThread::Task task) { wxTheApp->CallAfter(std::move(task)); });
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i)
            args.push_back(argv[i].utf8_string());
        commandLine_ = CommandLineInfo::Parse(args);
        // Printing from the command line runs unattended: whatever it has to say goes to the
        // terminal, and no box waits for a click.
        prompts_ = std::make_unique<IMessageBox::Installation>(
            commandLine_.Prints() ? static_cast<IMessageBox&>(terminalBox_) : messageBox_);
        fileDialogs_ = std::make_unique<IFileDialog::Installation>(fileDialog_);
        fontDialogs_ = std::make_unique<IFontDialog::Installation>(fontDialog_);
        shellInstalled_ = std::make_unique<IShell::Installation>(shell_);
        busyInstalled_ = std::make_unique<IBusyIndicator::Installation>(busyCursor_);
        wxInitAllImageHandlers();
        WxCommandIds::Use(commands_);
        app_ = std::make_unique<CGridloomApp>(CProfile::App());

        printJobs_ = std::make_unique<WxPrintJobs>(printSession_, [this] { return frame_; });
        app_->SetPrintSetup([this] { printSession_.PageSetup(frame_); });
        std::error_code error;
        app_->FindFolders(wxStandardPaths::Get().GetExecutablePath().utf8_string(),
                          std::filesystem::current_path(error).string());
        sound_ = std::make_unique<CanberraSound>(app_->InstallFolder() + "sound/");
        soundInstalled_ = std::make_unique<ISound::Installation>(*sound_);
        // /p and /pt print without showing the program's window.
        if (commandLine_.Prints()) {
            exitCode_ = PrintCommandLine() ? 0 : 1;
            finished_ = true;
            return true;
        }
        // The rest of the start-up runs once the splash has shown itself.
        splash_ = new CUltraSplashWnd(SplashPicture::Get(), 0,
                                      static_cast<std::uint32_t>(std::time(nullptr)),
                                      [this] { ContinueStartup(); }); // wx owns top-level windows
        app_->splashUp = true;
        return true;
    }

    int OnRun() override {
        if (finished_ || exitCode_ != 0)
            return exitCode_;
        const int result = wxApp::OnRun();
        return exitCode_ != 0 ? exitCode_ : result;
    }

    int OnExit() override {
        // What was copied stays on the desktop's clipboard after the program ends.
        WxClipboard::Flush();
        // The main window is gone by now; the view and the document go before the services
        // they used.
        links_.reset();
        view_.reset();
        if (document_) {
            document_->SetInfoPane(nullptr);
            document_->SetSettingsSheet(nullptr);
        }
        settingsSheet_.reset();
        documentState_.reset();
        document_.reset();
        // Cancels the transfers in flight and waits only for the workers to notice.
        app_->SetStatusReporter({});
        app_.reset();
        MainThread::SetPoster({});
        printJobs_.reset();
        soundInstalled_.reset();
        sound_.reset();
        busyInstalled_.reset();
        shellInstalled_.reset();
        fontDialogs_.reset();
        fileDialogs_.reset();
        prompts_.reset();
        return wxApp::OnExit();
    }

private:
    bool PrintCommandLine() {
        document_ = std::make_unique<CGridloomDoc>(app_->Profile());
        app_->AttachDocument(*document_);
        if (!app_->ProcessCommandLine(commandLine_))
            return false;
        MakeView();
        view_->OnInitialUpdate();
        return app_->PrintCommandLine(commandLine_, *view_);
    }

    // The view with what it needs both in a window and when printing from the command line.
    void MakeView() {
        view_ = std::make_unique<CGridloomView>();
        view_->SetDocument(document_.get());
        view_->TileSets().SetInstallFolder(app_->InstallFolder());
        view_->SetPrintJobs(printJobs_.get());
        view_->SetClipboard(&clipboard_);
    }

    // The gesture network loads (or trains) on a worker while the splash reveals itself; the
    // main sequence of random numbers is the worker's alone until it hands back.
    void ContinueStartup() {
        app_->Fetches().Run("start-up", [this](FetchService::Worker&) {
            app_->StartServices();
            return MainThread::Task([this] { FinishStartup(); });
        });
    }

    void FinishStartup() {
        document_ = std::make_unique<CGridloomDoc>(app_->Profile());
        documentState_ = std::make_unique<GridloomDocState>(*document_);
        app_->AttachDocument(*document_);
        if (!app_->ProcessCommandLine(commandLine_, [this] { DismissSplash(nullptr); })) {
            DismissSplash(nullptr);
            exitCode_ = 1;
            ExitMainLoop();
            return;
        }
        frame_ = new CMainFrame(); // wx owns top-level windows
        frame_->Router().SetDocument(document_.get());
        frame_->Router().SetApp(app_.get());
        frame_->Commands().SetMazeState(documentState_.get());
        frame_->Commands().SetHelpFolder(app_->HelpFolder());
        CGridloomDoc* doc = document_.get();
        frame_->SetInfoBoxFlag([doc] { return doc->InfoPane().InfoBoxVisible(); });
        about_ = std::make_unique<AboutDialog>([this] { return frame_; },
                                               [this] { app_->OpenLink(ID_HOME_PAGE); });
        app_->SetAboutBox(about_.get());
        BindFrame();
        ShowView();
        if (!ShowInfoPane(*frame_)) {
            // The pane has said why; the program ends without showing its window.
            DismissSplash(nullptr);
            exitCode_ = 1;
            frame_->Destroy();
            ExitMainLoop();
            return;
        }
        settingsSheet_ = std::make_unique<SettingsSheet>(frame_, view_->TileSets());
        document_->SetSettingsSheet(settingsSheet_.get());
        frame_->SetTitle(wxString::FromUTF8(app_->WindowTitle()));
        frame_->Show();
        frame_->Maximize();
        // Boxes open over the main window from now on, never over the splash that goes away.
        SetTopWindow(frame_);
        // The window is there; the splash stays on top until its whole picture has shown.
        // Notices wait until it has gone, and until its timer's handler has returned.
        if (splash_) {
            splash_->AfterReveal([this, frame = wxWeakRef<wxWindow>(frame_)] {
                DismissSplash(frame.get());
                CallAfter([this, frame] {
                    if (frame)
                        app_->ShowStartupNotices();
                });
            });
        } else {
            app_->ShowStartupNotices();
        }
    }

    void BindFrame() {
        // Dialogs and print jobs ask for the frame as their parent; once it is gone, none.
        frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
            if (event.GetEventObject() == frame_)
                frame_ = nullptr;
            event.Skip();
        });
        frame_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            // Text typed into the text box belongs to the document that may be saved now.
            if (view_)
                view_->EndTextEditing();
            if (event.CanVeto() && !app_->SaveModified()) {
                event.Veto();
                return;
            }
            app_->ExitInstance();
            event.Skip();
        });
        frame_->Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
            const wxString title = wxString::FromUTF8(app_->WindowTitle());
            if (frame_->GetTitle() != title)
                frame_->SetTitle(title);
            event.Skip();
        });
        // Escape stops a download; otherwise it goes where it went before.
        frame_->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
            if (event.GetKeyCode() == WXK_ESCAPE && app_->Downloading())
                app_->CancelDownload();
            else
                event.Skip();
        });
        frame_->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
            RecentFileMenu::Sync(*frame_, app_->Recent());
            event.Skip();
        });
        RecentFileMenu::Sync(*frame_, app_->Recent());
    }

    // The maze view takes the splitter's top row; the frame routes commands to it first.
    void ShowView() {
        MakeView();
        sizeAsker_ = std::make_unique<BitmapSetupAsker>(frame_);
        view_->SetPictureSizeDialog(sizeAsker_.get());
        auto* window = new MazeViewWindow(frame_->Splitter(), *view_); // owned by the splitter
        // These may be called after the frame is gone (a late download): they ask it first.
        CMainFrame* frame = frame_;
        const LifeToken::Watch life = frame_->Life();
        window->SetInfoPaneCollapser([frame, life] {
            if (life.Alive())
                frame->CollapseInfoPane();
        });
        window->SetStatusReporter(frame_->StatusReporter());
        app_->SetStatusReporter(frame_->StatusReporter());
        // Gesture commands take the menus' road, through the frame's router.
        window->SetCommandRunner([frame, life](UINT command) {
            if (life.Alive())
                frame->RunCommand(command);
        });
        view_->SetGestureRecognizer(&app_->Gesture());
        view_->Gestures().Dispatcher().SetHelpFile(frame_->Commands().GestureHelpPath());
        frame_->Splitter()->SetPane(CMainFrame::kViewRow, window);
        frame_->Router().SetView(view_.get());
        CGridloomView* view = view_.get();
        frame_->Router().SetBeforeExecute([view](UINT command) { view->BeforeCommand(command); });
        view_->SetEditToolbar(frame_);
        view_->OnInitialUpdate();
    }

    // Hides the splash and closes it, raising `next`; later calls do nothing.
    void DismissSplash(wxWindow* next) {
        if (!splash_)
            return;
        splash_->HideSplash();
        splash_->CloseSplash(next);
        splash_ = nullptr;
        app_->splashUp = false;
    }

    // The information pane takes the splitter's lower row and serves the document as its pane.
    bool ShowInfoPane(CMainFrame& frame) {
        const WebEndpoint endpoint(CProfile::App());
        links_ = std::make_unique<AdLinkActions>(*app_, *view_);
        wxFileSystem::AddHandler(
            std::make_unique<WebPageFSHandler>(endpoint, pageCache_).release()); // wx owns it
        auto* pane = new CAdWindow(
            frame.Splitter(),
            {frame, app_->Connectivity(), *links_, CProfile::App(), app_->Fetches(), pageCache_},
            endpoint,
            app_->InstallFolder() + "html/"); // owned by the splitter
        frame.Splitter()->SetPane(CMainFrame::kInfoPaneRow, pane);
        CGridloomDoc* doc = document_.get();
        pane->SetInfoBoxVisible(document_->InfoPane().InfoBoxVisible());
        document_->SetInfoPane(pane);
        // The pane goes only with the frame, so the frame's pointer never outlives it.
        frame.Commands().SetInfoPane(&pane->Commands());
        pane->Bind(wxEVT_DESTROY, [doc, pane](wxWindowDestroyEvent& event) {
            if (event.GetEventObject() == pane)
                doc->SetInfoPane(nullptr);
            event.Skip();
        });
        return pane->Start();
    }

    CommandCatalog commands_;
    WebPageCache pageCache_;
    std::unique_ptr<AdLinkActions> links_;
    WxMessageBox messageBox_;
    HeadlessMessageBox terminalBox_;
    std::unique_ptr<IMessageBox::Installation> prompts_;
    WxFileDialog fileDialog_;
    std::unique_ptr<BitmapSetupAsker> sizeAsker_;
    std::unique_ptr<IFileDialog::Installation> fileDialogs_;
    WxFontDialog fontDialog_;
    std::unique_ptr<IFontDialog::Installation> fontDialogs_;
    WxClipboard clipboard_;
    XdgOpenShell shell_;
    std::unique_ptr<IShell::Installation> shellInstalled_;
    std::unique_ptr<CanberraSound> sound_;
    std::unique_ptr<ISound::Installation> soundInstalled_;
    WxBusyCursor busyCursor_;
    std::unique_ptr<IBusyIndicator::Installation> busyInstalled_;
    std::unique_ptr<CGridloomApp> app_;
    CommandLineInfo commandLine_;
    int exitCode_ = 0;
    bool finished_ = false; // the command line's work is done; no main loop
    WxPrintSession printSession_;
    std::unique_ptr<WxPrintJobs> printJobs_;
    CUltraSplashWnd* splash_ = nullptr;
    CMainFrame* frame_ = nullptr;
    std::unique_ptr<AboutDialog> about_;
    std::unique_ptr<CGridloomDoc> document_;
    std::unique_ptr<GridloomDocState> documentState_;
    std::unique_ptr<CGridloomView> view_;
    std::unique_ptr<SettingsSheet> settingsSheet_;
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(OrlimberApp);

// Help, words not understood and a file that /p or /pt cannot print are answered on the
// terminal before the toolkit starts, so they need no display and never wait on a box.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLineInfo info = CommandLineInfo::Parse(args);
    if (const auto status = info.AnswerOnTerminal(std::cout, std::cerr))
        return *status;
    if (info.Prints()) {
        if (const std::string problem = PrintFileCheck::Problem(info.file, CProfile::App());
            !problem.empty()) {
            std::cerr << "orlimber: " << problem << '\n';
            return 1;
        }
    }
    WxAssertLog::Install();
    return wxEntry(argc, argv);
}
