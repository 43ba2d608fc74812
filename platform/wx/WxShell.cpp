#include "platform/wx/WxShell.h"

#include <wx/utils.h>

bool WxShell::Open(const std::string& target) {
    if (target.empty())
        return false;
    // The address travels as one argument of its own: no shell, no command line to break out
    // of, whatever blanks, quotes or semicolons it holds.
    const char* argv[] = {"xdg-open", target.c_str(), nullptr};
    return wxExecute(argv, wxEXEC_ASYNC) > 0;
}
