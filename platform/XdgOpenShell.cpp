#include "platform/XdgOpenShell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>

extern char** environ;

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// Waits a little for the launcher's verdict; one still running then is left to a reaper so
// it never becomes a zombie.
bool AwaitLauncher(pid_t pid) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(XdgOpenShell::kWaitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::thread([pid] {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }).detach();
    return true;
}

} // namespace

bool XdgOpenShell::IsOpenable(const std::string& target) {
    if (StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://"))
        return target.find_first_of("\r\n") == std::string::npos;
    std::error_code error;
    return !target.empty() && target[0] != '-' && std::filesystem::exists(target, error);
}

bool XdgOpenShell::Open(const std::string& target) {
    if (!IsOpenable(target)) {
        std::cerr << "orlimber: not opening " << target << ": not a web address or a file\n";
        return false;
    }
    std::string program = "xdg-open";
    std::string argument = target;
    char* const argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ);
    if (error != 0) {
        std::cerr << "orlimber: cannot run xdg-open: " << std::strerror(error) << "\n";
        return false;
    }
    return AwaitLauncher(pid);
}
