#pragma once
#include <string>

// A value a dialog refused: the control to give the focus back to and the message to show.
struct DialogFieldError {
    int controlId = 0;
    std::string message;
};
