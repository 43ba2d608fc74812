#include "forms/IntegerFieldCheck.h"

#include "platform/TextFormat.h"

#include <cctype>

namespace {

// Digits with an optional sign and blanks around them: an integer, however large.
bool WholeNumberText(std::string_view text) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string Between(int min, int max) {
    return Format("Please enter an integer between %d and %d.", min, max);
}

} // namespace

std::optional<DialogFieldError> IntegerFieldCheck::ReadInRange(int controlId, std::string_view text,
                                                               int min, int max, int& value) {
    int parsed = 0;
    if (!ParseInt(text, parsed))
        return DialogFieldError{controlId, WholeNumberText(text) ? Between(min, max)
                                                                 : "Please enter an integer."};
    if (parsed < min || parsed > max)
        return DialogFieldError{controlId, Between(min, max)};
    value = parsed;
    return std::nullopt;
}
