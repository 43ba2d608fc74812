#pragma once
#include "platform/Shell.h"

// Opens web addresses in the browser and files with their default application.
class WxShell : public IShell {
public:
    bool Open(const std::string& target) override;
};
