#pragma once
// Runs work in a forked child and measures how much resident memory it added at its peak,
// so that a test can hold a reader to a memory bound whatever the test process already holds.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

struct ChildOutcome {
    bool ok = false;   // what the work answered
    std::string text;  // what it said
    long addedKb = -1; // peak resident memory beyond what the child started with
};

// `work` returns its answer and fills its text; it must not return to the test otherwise.
inline ChildOutcome RunInChild(const std::function<bool(std::string&)>& work) {
    int ends[2];
    if (pipe(ends) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        std::string text;
        const bool ok = work(text);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const std::string report = std::to_string(after.ru_maxrss - before.ru_maxrss) + " " +
                                   (ok ? "1" : "0") + " " + text;
        const ssize_t written = write(ends[1], report.data(), report.size());
        _exit(written == ssize_t(report.size()) ? 0 : 1);
    }
    close(ends[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, std::size_t(n));
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ChildOutcome out;
    long added = -1;
    int ok = 0;
    int consumed = 0;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
        std::sscanf(report.c_str(), "%ld %d %n", &added, &ok, &consumed) >= 2) {
        out.addedKb = added;
        out.ok = ok == 1;
        out.text = report.substr(std::size_t(consumed));
    }
    return out;
}
