#include "tiles/TleNumbers.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::size_t SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && Blank(text[i]))
        ++i;
    return i;
}

} // namespace

namespace TleNumbers {

int Int(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{INT_MAX} + 1);
    value = negative ? -value : std::min<std::int64_t>(value, INT_MAX);
    return static_cast<int>(std::max<std::int64_t>(value, INT_MIN));
}

double Real(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        sign = text[i++] == '-' ? -1 : 1;
    double value = 0, scale = 1;
    bool fraction = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            if (fraction)
                value += (c - '0') * (scale /= 10);
            else
                value = std::min(value * 10 + (c - '0'), 1e300);
        } else {
            break;
        }
    }
    return sign * value;
}

unsigned Hex(std::string_view text) {
    std::size_t i = SkipBlanks(text);
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    unsigned value = 0;
    for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return value;
}

std::string Trim(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && Blank(text[first]))
        ++first;
    while (last > first && Blank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

} // namespace TleNumbers
