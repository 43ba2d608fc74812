#include "dialogs/AdTitle.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// One "%d" as scanf reads it: blanks, a sign, at least one digit. The value saturates rather
// than overflowing.
std::optional<std::int64_t> ReadNumber(std::string_view& text) {
    std::string_view t = text;
    while (!t.empty() && IsSpace(t.front()))
        t.remove_prefix(1);
    const bool negative = !t.empty() && t.front() == '-';
    if (!t.empty() && (t.front() == '-' || t.front() == '+'))
        t.remove_prefix(1);
    std::int64_t value = 0;
    std::size_t digits = 0;
    while (digits < t.size() && t[digits] >= '0' && t[digits] <= '9') {
        value = std::min<std::int64_t>(value * 10 + (t[digits] - '0'), std::int64_t(1) << 40);
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    text = t.substr(digits);
    return negative ? -value : value;
}

int Clamp(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX));
}

} // namespace

std::string AdTitle::Message(std::string_view title) {
    const std::size_t open = title.find('[');
    const std::size_t close = title.find(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open + 1)
        return {};
    return std::string(title.substr(open + 1, close - open - 1));
}

AdTitle::Values AdTitle::Parse(std::string_view title) {
    Values v;
    if (!IsControl(title))
        return v;
    v.message = Message(title);
    std::string_view rest = title.substr(1);
    std::array<std::optional<std::int64_t>, 6> read;
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (i > 0) {
            if (rest.empty() || rest.front() != '#')
                break;
            rest.remove_prefix(1);
        }
        read[i] = ReadNumber(rest);
        if (!read[i])
            break;
    }
    if (read[0])
        v.mode = static_cast<int>(std::clamp<std::int64_t>(*read[0], INT_MIN, INT_MAX));
    if (read[1])
        v.rotationMs = Clamp(*read[1] * 60000);
    if (read[2])
        v.loadHeight = Clamp(*read[2]);
    if (read[3])
        v.secondHeight = Clamp(*read[3]);
    if (read[4])
        v.openDelayMs = Clamp(*read[4] * 1000);
    if (read[5])
        v.collapseDelayMs = Clamp(*read[5] * 1000);
    return v;
}
