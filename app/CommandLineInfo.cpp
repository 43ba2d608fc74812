#include "app/CommandLineInfo.h"

#include <algorithm>
#include <cctype>

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
    if (!args.empty() && (IsSwitch(args[0], "p") || IsSwitch(args[0], "pt"))) {
        const bool to = IsSwitch(args[0], "pt");
        info.action = to ? Action::PrintTo : Action::Print;
        const std::size_t needed = to ? 3 : 2;
        if (args.size() < needed) {
            info.error = to ? "Usage: orlimber /pt FILE PRINTER" : "Usage: orlimber /p FILE";
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
        info.error = "Usage: orlimber [FILE] | /p FILE | /pt FILE PRINTER";
    else if (info.action != Action::New && info.file.empty())
        info.error = "The file name is empty.";
    return info;
}
