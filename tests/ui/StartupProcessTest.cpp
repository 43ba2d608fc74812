#include "document/CGridloomDoc.h"
#include "document/WkzFileCommands.h"
#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe))
            out += buffer.data();
        ::pclose(pipe);
    }
    return out;
}

// The program as its own process, on a profile of its own; killed if a test leaves it running.
class Program {
public:
    Program(const TempFolder& config, std::vector<std::string> args, const std::string& path = {}) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
                (path.empty() || entry.rfind("PATH=", 0) != 0))
                env.push_back(entry);
        }
        env.push_back("XDG_CONFIG_HOME=" + config.Path().string());
        if (!path.empty())
            env.push_back("PATH=" + path);
        args.insert(args.begin(), ORLIMBER_PROGRAM);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        started_ = Clock::now();
        if (::posix_spawn(&pid_, ORLIMBER_PROGRAM, nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = 0;
    }
    ~Program() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool Started() const { return pid_ > 0; }

    // The id of a window of this process whose title is exactly `title`, or "".
    std::string WaitForWindow(const std::string& title, int seconds) {
        const auto end = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < end && !Exited()) {
            std::string id = Output("xdotool search --onlyvisible --pid " + std::to_string(pid_) +
                                    " --name '^" + title + "$' 2>/dev/null | head -n 1");
            if (!id.empty()) {
                id.erase(id.find_last_not_of("\n") + 1);
                return id;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }
    double SecondsSinceStart() const {
        return std::chrono::duration<double>(Clock::now() - started_).count();
    }
    // Exit status, or -1 while still running after `seconds`.
    int WaitForExit(int seconds) {
        const auto end = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < end) {
            if (Exited())
                return status_;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }
    // Answers the message box that is up with Enter.
    void PressEnterIn(const std::string& window) {
        std::system(("xdotool windowfocus --sync " + window + " key Return 2>/dev/null").c_str());
    }

private:
    bool Exited() {
        if (exited_)
            return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return exited_;
    }

    pid_t pid_ = 0;
    bool exited_ = false;
    int status_ = -1;
    Clock::time_point started_;
};

std::string SaveMaze(const TempFolder& folder, const std::string& name) {
    CProfile profile(folder.File("maker.ini"));
    CGridloomDoc doc(profile);
    doc.Settings().columns = 8;
    doc.Settings().rows = 6;
    doc.OnFileNew();
    doc.OnGenerateMaze();
    const std::string path = folder.File(name);
    EXPECT_TRUE(WkzFileCommands::SaveFile(doc, path)) << doc.pendingMessage;
    return path;
}

} // namespace

TEST(StartupProcess, AFileOnTheCommandLineOpensAndTitlesTheWindow) {
    const TempFolder config("start-config");
    const TempFolder files("start-files");
    const std::string maze = SaveMaze(files, "maze.wkz");
    {
        // A first start trains the gesture weights; the timed start reads them.
        Program first(config, {});
        ASSERT_TRUE(first.Started());
        ASSERT_FALSE(first.WaitForWindow("Untitled - Orlimber STD", 60).empty());
    }
    Program program(config, {maze});
    ASSERT_TRUE(program.Started());
    const std::string window = program.WaitForWindow("maze.wkz - Orlimber STD", 30);
    ASSERT_FALSE(window.empty());
    std::cout << "[ startup  ] window shown after " << program.SecondsSinceStart() << " s\n";
    const CProfile written(config.File("Orlimber/OrlimberSTD.ini"));
    EXPECT_EQ(written.GetProfileString("Recent File List", "File1"), maze);
}

TEST(StartupProcess, AMissingFileOrAPrintRequestEndsWithStatusOne) {
    const TempFolder config("start-config");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{config.File("missing.wkz")},
          std::vector<std::string>{"/P", config.File("missing.wkz")}}) {
        Program program(config, args);
        ASSERT_TRUE(program.Started());
        const std::string box = program.WaitForWindow("Orlimber STD", 60);
        ASSERT_FALSE(box.empty()) << args[0];
        program.PressEnterIn(box);
        EXPECT_EQ(program.WaitForExit(20), 1) << args[0];
    }
}
