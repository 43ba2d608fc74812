#include "tests/ui/XdoTool.h"

#include "controls/ui/CFOHyperLinkWnd.h"
#include "platform/Shell.h"
#include "platform/wx/WxShell.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

// A folder whose xdg-open writes each of its arguments to a log, one per line, ahead of the
// real one on PATH for the life of the object.
class RecordingXdgOpen {
public:
    RecordingXdgOpen()
        : dir_(std::filesystem::temp_directory_path() /
               ("orlimber-xdg-" + std::to_string(::getpid()))),
          oldPath_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        std::filesystem::create_directories(dir_);
        const auto script = dir_ / "xdg-open";
        {
            std::ofstream out(script);
            out << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << Log().string()
                << "'; done\necho end >> '" << Log().string() << "'\n";
        }
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        setenv("PATH", (dir_.string() + ":" + oldPath_).c_str(), 1);
    }
    ~RecordingXdgOpen() {
        setenv("PATH", oldPath_.c_str(), 1);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path Log() const { return dir_ / "args.log"; }
    std::string Logged() const {
        std::ifstream in(Log());
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

private:
    std::filesystem::path dir_;
    std::string oldPath_;
};

TEST(HyperLinkWindowTest, AClickHandsTheAddressToXdgOpenAsOneArgument) {
    if (!xdo::Available())
        GTEST_SKIP() << "xdotool is not installed";
    RecordingXdgOpen xdg;
    WxShell shell;
    IShell::Installation installed(shell);
    const std::string address = "http://127.0.0.1/a page \"quoted\" 'too'; $(touch oops)";
    auto* frame = new wxFrame(nullptr, wxID_ANY, "link", wxPoint(50, 60), wxSize(400, 200));
    auto* panel = new wxPanel(frame);
    auto* link = new CFOHyperLinkWnd(panel, wxID_ANY, "Orlimber on the web", wxPoint(20, 20),
                                     wxSize(300, 40), 0, address);
    frame->Show();
    ASSERT_TRUE(xdo::Settled(*link));
    EXPECT_LT(link->GetSize().y, 40); // fitted to its text
    ASSERT_TRUE(xdo::Click(*link, 5, 5));
    ASSERT_TRUE(
        xdo::PumpUntil([&xdg] { return xdg.Logged().find("end") != std::string::npos; }, 4000));
    EXPECT_EQ(xdg.Logged(), address + "\nend\n");
    EXPECT_TRUE(link->Link().GetVisited());
    EXPECT_FALSE(std::filesystem::exists("oops"));
    EXPECT_TRUE(xdo::Destroy(frame));
}

} // namespace
