#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// What the command line asks for: `orlimber [FILE]`, `/p FILE` (print), `/pt FILE PRINTER`
// (print to a printer) or `--help`. Only /p, /pt, -p and -pt (any case), --help and -h are
// switches, and only as the first word; a word starting with '/' is a file path, so absolute
// paths open as files. Any other word starting with '-' is refused as an unknown switch until
// "--", after which every word is a name.
struct CommandLineInfo {
    enum class Action { New, Open, Print, PrintTo, Help };

    Action action = Action::New;
    std::string file;
    std::string printer;
    // Set when the words cannot be understood (a switch without its file, an unknown switch,
    // extra words).
    std::string error;

    bool Ok() const { return error.empty(); }
    // /p or /pt: the program runs unattended and shows no window.
    bool Prints() const { return action == Action::Print || action == Action::PrintTo; }

    // `args` without the program name.
    static CommandLineInfo Parse(const std::vector<std::string>& args);

    static std::string Usage();
    // Help goes to `out` (status 0) and words not understood to `err` with the usage (status
    // 2), before any window; nullopt when the program is to start.
    std::optional<int> AnswerOnTerminal(std::ostream& out, std::ostream& err) const;
};
