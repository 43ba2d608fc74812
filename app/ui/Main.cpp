#include "dialogs/ui/BitmapSetupAsker.h"
#include "dialogs/ui/SettingsSheet.h"
#include "document/CGridloomDoc.h"
#include "frame/GridloomDocState.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/CSplitterWndEx.h"
#include "platform/CProfile.h"
#include "platform/wx/WxBusyCursor.h"
#include "platform/wx/WxCommandIds.h"
#include "platform/wx/WxFileDialog.h"
#include "platform/wx/WxMessageBox.h"
#include "platform/wx/WxShell.h"
#include "res/CommandCatalog.h"
#include "view/CGridloomView.h"
#include "view/ui/MazeViewWindow.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

// The profile's install folder, by default the share folder beside the program's own folder
// (the current folder when there is none); it ends with a slash.
std::string InstallFolder() {
    namespace fs = std::filesystem;
    const fs::path program(wxStandardPaths::Get().GetExecutablePath().utf8_string());
    const fs::path share = (program.parent_path() / ".." / "share" / "orlimber").lexically_normal();
    // A program run from its build tree finds the files made there.
    const fs::path built = program.parent_path() / "share" / "orlimber";
    std::error_code error;
    const fs::path folder = fs::is_directory(share, error)   ? share
                            : fs::is_directory(built, error) ? built
                                                             : fs::current_path(error);
    return CProfile::App().GetProfileString("install", "path", folder.string() + "/");
}

class OrlimberApp : public wxApp {
public:
    bool OnInit() override {
        prompts_ = std::make_unique<IMessageBox::Installation>(messageBox_);
        fileDialogs_ = std::make_unique<IFileDialog::Installation>(fileDialog_);
        shellInstalled_ = std::make_unique<IShell::Installation>(shell_);
        busyInstalled_ = std::make_unique<IBusyIndicator::Installation>(busyCursor_);
        wxInitAllImageHandlers();
        WxCommandIds::Use(commands_);
        document_ = std::make_unique<CGridloomDoc>(CProfile::App());
        documentState_ = std::make_unique<GridloomDocState>(*document_);
        auto* frame = new CMainFrame(); // wx owns top-level windows
        frame->Router().SetDocument(document_.get());
        frame->Commands().SetMazeState(documentState_.get());
        frame->Commands().SetHelpFolder(InstallFolder() + "help/");
        CGridloomDoc* doc = document_.get();
        frame->SetInfoBoxFlag([doc] { return doc->InfoPane().InfoBoxVisible(); });
        ShowView(*frame);
        settingsSheet_ = std::make_unique<SettingsSheet>(frame, view_->TileSets());
        document_->SetSettingsSheet(settingsSheet_.get());
        frame->Show();
        frame->Maximize();
        return true;
    }
    int OnExit() override {
        // The main window is gone by now; the view and the document go before the services
        // they used.
        view_.reset();
        document_->SetSettingsSheet(nullptr);
        settingsSheet_.reset();
        documentState_.reset();
        document_.reset();
        busyInstalled_.reset();
        shellInstalled_.reset();
        fileDialogs_.reset();
        prompts_.reset();
        return wxApp::OnExit();
    }

private:
    // The maze view takes the splitter's top row; the frame routes commands to it first.
    void ShowView(CMainFrame& frame) {
        view_ = std::make_unique<CGridloomView>();
        view_->SetDocument(document_.get());
        sizeAsker_ = std::make_unique<BitmapSetupAsker>(&frame);
        view_->SetPictureSizeDialog(sizeAsker_.get());
        view_->TileSets().SetInstallFolder(InstallFolder());
        auto* window = new MazeViewWindow(frame.Splitter(), *view_); // owned by the splitter
        window->SetInfoPaneCollapser([&frame] { frame.CollapseInfoPane(); });
        window->SetStatusReporter([&frame](const std::string& text) {
            frame.SetStatusText(text.empty() ? wxString("Ready") : wxString::FromUTF8(text), 0);
        });
        frame.Splitter()->SetPane(CMainFrame::kViewRow, window);
        frame.Router().SetView(view_.get());
        view_->OnInitialUpdate();
    }

    CommandCatalog commands_;
    WxMessageBox messageBox_;
    std::unique_ptr<IMessageBox::Installation> prompts_;
    WxFileDialog fileDialog_;
    std::unique_ptr<BitmapSetupAsker> sizeAsker_;
    std::unique_ptr<IFileDialog::Installation> fileDialogs_;
    WxShell shell_;
    std::unique_ptr<IShell::Installation> shellInstalled_;
    WxBusyCursor busyCursor_;
    std::unique_ptr<IBusyIndicator::Installation> busyInstalled_;
    std::unique_ptr<CGridloomDoc> document_;
    std::unique_ptr<GridloomDocState> documentState_;
    std::unique_ptr<CGridloomView> view_;
    std::unique_ptr<SettingsSheet> settingsSheet_;
};

} // namespace

wxIMPLEMENT_APP(OrlimberApp);
