#pragma once
#include "platform/Shell.h"

// Opens web addresses and files with the desktop's default program (xdg-open).
class WxShell : public IShell {
public:
    bool Open(const std::string& target) override;
};
