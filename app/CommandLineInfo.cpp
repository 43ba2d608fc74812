#include "app/CommandLineInfo.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace {

std::string Lower(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

bool IsSwitch(const std::string& word, const char* name) {
    const std::string lower = Lower(word);
    return lower == std::string("/") + name || lower == std::string("-") + name;
}

} // namespace

CommandLineInfo CommandLineInfo::Parse(const std::vector<std::string>& args) {
    CommandLineInfo info;
    std::size_t next = 0;
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        info.action = Action::Help;
        next = 1;
    } else if (!args.empty() && (IsSwitch(args[0], "p") || IsSwitch(args[0], "pt"))) {
        const bool to = IsSwitch(args[0], "pt");
        info.action = to ? Action::PrintTo : Action::Print;
        const std::size_t needed = to ? 3 : 2;
        if (args.size() < needed) {
            info.error = to ? "/pt needs a file and a printer." : "/p needs a file.";
            return info;
        }
        info.file = args[1];
        if (to)
            info.printer = args[2];
        next = needed;
    } else if (!args.empty()) {
        info.action = Action::Open;
        info.file = args[0];
        next = 1;
    }
    if (next < args.size())
        info.error = "\"" + args[next] + "\" is one word too many.";
    else if (info.action != Action::New && info.action != Action::Help && info.file.empty())
        info.error = "The file name is empty.";
    return info;
}

std::string CommandLineInfo::Usage() {
    return "Usage: orlimber [FILE]\n"
           "       orlimber /p FILE\n"
           "       orlimber /pt FILE PRINTER\n"
           "       orlimber --help\n"
           "\n"
           "Opens the maze FILE (.wkz), or prints it with the stored print options without\n"
           "showing a window: /p on the default printer, /pt on PRINTER (a name ending in\n"
           ".pdf writes a PDF file). The switches may also start with '-'.\n";
}

std::optional<int> CommandLineInfo::AnswerOnTerminal(std::ostream& out, std::ostream& err) const {
    if (!Ok()) {
        err << "orlimber: " << error << "\n\n" << Usage();
        return 2;
    }
    if (action == Action::Help) {
        out << Usage();
        return 0;
    }
    return std::nullopt;
}
