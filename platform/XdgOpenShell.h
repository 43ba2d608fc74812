#pragma once
#include "platform/Shell.h"

#include <string>

// The desktop service: hands a web address or an existing file to `xdg-open` as one argument
// of its own (never through a shell), so nothing in the target is ever run as a command.
class XdgOpenShell : public IShell {
public:
    // How long Open waits to see whether xdg-open failed before taking its silence as success.
    static constexpr int kWaitMs = 3000;

    bool Open(const std::string& target) override;

    // True for http:// and https:// addresses (any case) and for files that exist.
    static bool IsOpenable(const std::string& target);
};
