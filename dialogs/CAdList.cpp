#include "dialogs/CAdList.h"

#include <array>
#include <charconv>
#include <climits>
#include <cstdint>

namespace {

constexpr std::size_t kFields = 15;

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// A decimal number as the C library's atoi reads it, kept within int.
int Number(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), std::int64_t(INT_MAX) + 1);
    }
    value = negative ? -value : std::min<std::int64_t>(value, INT_MAX);
    return static_cast<int>(value);
}

} // namespace

CAdList::Parse CAdList::FromLine(std::string_view line, const std::string& htmlFolder,
                                 CAdList& entry) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    if (!line.empty() && line.front() == '#')
        return Parse::Comment;
    std::array<std::string_view, kFields> f;
    for (std::size_t i = 0; i + 1 < kFields; ++i) {
        const std::size_t bar = line.find('|');
        if (bar == std::string_view::npos)
            return Parse::Rejected;
        f[i] = line.substr(0, bar);
        line.remove_prefix(bar + 1);
    }
    f[kFields - 1] = line;

    CAdList e;
    e.kind = Upper(f[11]);
    if (e.kind.empty() || e.kind == "FILE")
        e.location = htmlFolder + std::string(f[12]);
    else if (e.kind == "HTTP" || e.kind == "HTTPS")
        e.location = (e.kind == "HTTP" ? "http://" : "https://") + std::string(f[12]);
    else
        return Parse::Rejected;
    e.field15 = f[14];
    e.field10 = f[9];
    e.pageId = f[5];
    e.field5 = f[4];
    e.field4 = f[3];
    e.field3 = f[2];
    e.field1 = f[0];
    e.field9 = f[8];
    e.field8 = f[7];
    e.field7 = f[6];
    e.field11 = f[10];
    e.field14 = f[13];
    e.number = Number(f[1]);
    entry = std::move(e);
    return Parse::Entry;
}
