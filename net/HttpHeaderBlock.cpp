#include "net/HttpHeaderBlock.h"

#include <algorithm>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

} // namespace

bool HttpHeaderBlock::AddLine(std::string_view line) {
    const bool statusLine = line.substr(0, 5) == "HTTP/";
    const std::size_t kept = statusLine ? 0 : raw_.size();
    if (line.size() > kMaxBytes - kept)
        return false;
    if (statusLine)
        raw_.clear();
    raw_.append(line);
    return true;
}

bool HttpHeaderBlock::Field(std::string_view name, std::string& value) const {
    std::string_view rest = raw_;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !SameName(line.substr(0, colon), name))
            continue;
        value.assign(Trim(line.substr(colon + 1)));
        return true;
    }
    return false;
}
