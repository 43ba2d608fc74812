#include "tests/ui/ModalDialogDriver.h"

#include "tests/ui/XdoTool.h"

#include <wx/app.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

namespace {

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

bool ModalDialogDriver::HaveXdotool() {
    return std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

int ModalDialogDriver::Run(wxDialog& dialog,
                           const std::function<void(ModalDialogDriver&)>& script) {
    closed_ = false;
    std::thread worker;
    dialog.CallAfter([&] {
        worker = std::thread([&] {
            EXPECT_TRUE(Shown(dialog));
            EXPECT_TRUE(Settle());
            script(*this);
            for (int i = 0; i < 50 && !closed_; ++i)
                Sleep(100);
            if (!closed_)
                dialog.CallAfter([&] {
                    if (dialog.IsModal())
                        dialog.EndModal(wxID_ABORT);
                });
        });
    });
    const int result = dialog.ShowModal();
    closed_ = true;
    if (worker.joinable())
        worker.join();
    return result;
}

void ModalDialogDriver::OnMain(const std::function<void()>& work) {
    // Once the dialog has closed nobody runs the main loop for us: the request is given up,
    // and should a later loop reach it, it does nothing.
    struct Request {
        std::function<void()> work;
        std::promise<void> done;
        std::atomic<bool> abandoned{false};
    };
    auto request = std::make_shared<Request>();
    request->work = work;
    std::future<void> done = request->done.get_future();
    wxTheApp->CallAfter([request] {
        if (!request->abandoned)
            request->work();
        request->done.set_value();
    });
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        if (closed_) {
            request->abandoned = true;
            return;
        }
    }
}

// The dialog's own loop runs the main thread meanwhile: the worker only looks, between its
// looks the loop goes on (a dialog the input opens runs its loop inside it).
bool ModalDialogDriver::Shown(wxDialog& dialog) {
    wxRect last;
    for (int look = 0; look < 500 && !closed_; ++look) {
        bool same = false;
        OnMain([&] {
            const wxRect now = dialog.GetScreenRect();
            same = xdo::Viewable(dialog) && now == last;
            last = now;
        });
        if (same)
            return true;
        Sleep(10);
    }
    return closed_;
}

bool ModalDialogDriver::Settle() {
    OnMain([] { xdo::SyncWithServer(); });
    for (int look = 0, quiet = 0; look < 500 && !closed_; ++look) {
        bool idle = false;
        OnMain([&idle] { idle = xdo::NothingPending() && !wxTheApp->ProcessIdle(); });
        quiet = idle ? quiet + 1 : 0;
        if (quiet >= 3)
            return true;
        Sleep(10);
    }
    return closed_;
}

void ModalDialogDriver::Xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(Settle()) << command;
}

void ModalDialogDriver::Click(wxWindow* window) {
    wxSize size;
    OnMain([&] { size = window->GetSize(); });
    ClickAt(window, wxPoint(size.x / 2, size.y / 2));
}

void ModalDialogDriver::ClickAt(wxWindow* window, const wxPoint& offset) {
    wxPoint at;
    OnMain([&] { at = window->GetScreenPosition() + offset; });
    // No --sync: it waits for a motion that never comes when the pointer is already there.
    Xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
            " sleep 0.05 click 1");
}

void ModalDialogDriver::Key(const std::string& keys) {
    Xdotool("key " + keys);
}

void ModalDialogDriver::Type(const std::string& text) {
    Xdotool("type --delay 20 '" + text + "'");
}

void ModalDialogDriver::Retype(wxWindow* edit, const std::string& text) {
    Click(edit);
    Key("ctrl+a BackSpace");
    Type(text);
}

wxImage ModalDialogDriver::Screenshot(wxWindow* window, const std::string& name) {
    wxRect area;
    OnMain([&] {
        window->Update();
        area = wxRect(window->GetScreenPosition(), window->GetSize());
    });
    EXPECT_TRUE(Settle());
    // Read back from the X server itself, so the picture is what really reached the screen.
    const char* out = std::getenv("ORLIMBER_TEST_OUT");
    const std::string file = (out ? std::string(out) : folder_.Path()) + "/" + name + ".png";
    const std::string command = "import -window root -crop " + std::to_string(area.width) + "x" +
                                std::to_string(area.height) + "+" + std::to_string(area.x) + "+" +
                                std::to_string(area.y) + " +repage " + file;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    wxImage image;
    image.LoadFile(file, wxBITMAP_TYPE_PNG);
    return image;
}

ModalDialogDriver::Folder::Folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "orlimber_dialogs_XXXXXX").string();
    if (mkdtemp(pattern.data()))
        path_ = pattern;
}

ModalDialogDriver::Folder::~Folder() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}
