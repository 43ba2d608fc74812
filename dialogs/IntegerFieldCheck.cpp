#include "dialogs/IntegerFieldCheck.h"

#include "platform/TextFormat.h"

std::optional<DialogFieldError> IntegerFieldCheck::ReadInRange(int controlId, std::string_view text,
                                                               int min, int max, int& value) {
    int parsed = 0;
    if (!ParseInt(text, parsed))
        return DialogFieldError{controlId, "Please enter an integer."};
    if (parsed < min || parsed > max)
        return DialogFieldError{controlId,
                                Format("Please enter an integer between %d and %d.", min, max)};
    value = parsed;
    return std::nullopt;
}
