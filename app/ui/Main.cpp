#include "platform/wx/WxFileDialog.h"
#include "platform/wx/WxMessageBox.h"

#include <wx/app.h>
#include <wx/frame.h>

#include <memory>

namespace {

class OrlimberApp : public wxApp {
public:
    bool OnInit() override {
        prompts_ = std::make_unique<IMessageBox::Installation>(messageBox_);
        fileDialogs_ = std::make_unique<IFileDialog::Installation>(fileDialog_);
        auto* frame =
            new wxFrame(nullptr, wxID_ANY, "Orlimber STD", wxDefaultPosition, wxSize(1024, 768));
        frame->Show();
        return true;
    }
    int OnExit() override {
        fileDialogs_.reset();
        prompts_.reset();
        return wxApp::OnExit();
    }

private:
    WxMessageBox messageBox_;
    std::unique_ptr<IMessageBox::Installation> prompts_;
    WxFileDialog fileDialog_;
    std::unique_ptr<IFileDialog::Installation> fileDialogs_;
};

} // namespace

wxIMPLEMENT_APP(OrlimberApp);
