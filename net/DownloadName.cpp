#include "net/DownloadName.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

bool DownloadName::Plain(std::string_view raw, std::string& name) {
    while (!raw.empty() && IsBlank(raw.front()))
        raw.remove_prefix(1);
    while (!raw.empty() && IsBlank(raw.back()))
        raw.remove_suffix(1);
    const std::size_t slash = raw.find_last_of("/\\");
    if (slash != std::string_view::npos)
        raw.remove_prefix(slash + 1);
    if (raw.empty() || raw == "." || raw == ".." || raw.size() > kMaxLength)
        return false;
    for (const char c : raw)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    name.assign(raw);
    return true;
}

bool DownloadName::FromUrl(std::string_view url, std::string& name) {
    const std::size_t end = url.find_first_of("?#");
    if (end != std::string_view::npos)
        url = url.substr(0, end);
    return Plain(url, name);
}
