#pragma once
#include <string>
#include <vector>

// What the command line asks for: `orlimber [FILE]`, `/p FILE` (print) or `/pt FILE PRINTER`
// (print to a printer). Only /p, /pt, -p and -pt (any case) are switches; every other word,
// even one starting with '/', is a file path, so absolute paths open as files.
struct CommandLineInfo {
    enum class Action { New, Open, Print, PrintTo };

    Action action = Action::New;
    std::string file;
    std::string printer;
    // Set when the words cannot be understood (a switch without its file, extra words).
    std::string error;

    bool Ok() const { return error.empty(); }

    // `args` without the program name.
    static CommandLineInfo Parse(const std::vector<std::string>& args);
};
