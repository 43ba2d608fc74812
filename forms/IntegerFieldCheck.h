#pragma once
#include "forms/DialogFieldError.h"

#include <optional>
#include <string_view>

// Reads a whole number in min..max from an edit control's text, with the framework's
// data-validation messages. On refusal `value` is left as it was.
class IntegerFieldCheck {
public:
    static std::optional<DialogFieldError> ReadInRange(int controlId, std::string_view text,
                                                       int min, int max, int& value);
};
