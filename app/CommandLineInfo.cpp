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

// A word a user meant as a switch: '/' starts absolute paths, so only '-' counts ("-" alone
// is a name).
bool LooksLikeSwitch(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

// How many names the action takes: without a switch, the file to open if one is given.
std::size_t NamesWanted(CommandLineInfo::Action action, std::size_t given) {
    switch (action) {
    case CommandLineInfo::Action::PrintTo:
        return 2;
    case CommandLineInfo::Action::Print:
        return 1;
    case CommandLineInfo::Action::Help:
        return 0;
    default:
        return std::min<std::size_t>(given, 1);
    }
}

} // namespace

CommandLineInfo CommandLineInfo::Parse(const std::vector<std::string>& args) {
    CommandLineInfo info;
    std::size_t next = 0;
    const bool first = !args.empty() && args[0] != "--";
    if (first && (args[0] == "--help" || args[0] == "-h")) {
        info.action = Action::Help;
        next = 1;
    } else if (first && (IsSwitch(args[0], "p") || IsSwitch(args[0], "pt"))) {
        info.action = IsSwitch(args[0], "pt") ? Action::PrintTo : Action::Print;
        next = 1;
    }
    // What follows the switch: names, where "--" once ends the switches.
    std::vector<std::string> names;
    bool switches = true;
    for (; next < args.size(); ++next) {
        const std::string& word = args[next];
        if (switches && word == "--") {
            switches = false;
        } else if (switches && LooksLikeSwitch(word)) {
            info.error = "unknown switch \"" + word +
                         "\" (put \"--\" before a file name that starts with '-').";
            return info;
        } else {
            names.push_back(word);
        }
    }
    const std::size_t wanted = NamesWanted(info.action, names.size());
    if (names.size() < wanted) {
        info.error =
            info.action == Action::PrintTo ? "/pt needs a file and a printer." : "/p needs a file.";
        return info;
    }
    if (names.size() > wanted) {
        info.error = "\"" + names[wanted] + "\" is one word too many.";
        return info;
    }
    if (wanted > 0) {
        if (info.action == Action::New)
            info.action = Action::Open;
        info.file = names[0];
        if (info.action == Action::PrintTo)
            info.printer = names[1];
        if (info.file.empty())
            info.error = "The file name is empty.";
    }
    return info;
}

std::string CommandLineInfo::Usage() {
    return "Usage: orlimber [--] [FILE]\n"
           "       orlimber /p [--] FILE\n"
           "       orlimber /pt [--] FILE PRINTER\n"
           "       orlimber --help\n"
           "\n"
           "Opens the maze FILE (.wkz), or prints it with the stored print options without\n"
           "showing a window: /p on the default printer, /pt on PRINTER (a name ending in\n"
           ".pdf writes a PDF file). The switches may also start with '-'; \"--\" ends them,\n"
           "so that a FILE whose name starts with '-' can be named.\n";
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
