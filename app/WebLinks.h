#pragma once
#include "platform/WinTypes.h"

#include <string>

class CProfile;

// The web pages the Help menu and the About box open: the web host, a page and a version tag.
class WebLinks {
public:
    static constexpr const char* kAboutText = "Orlimber STD Version QV364";

    explicit WebLinks(const CProfile& profile);

    // The full address of a link command; empty for any other command.
    std::string Url(UINT command) const;

private:
    std::string base_;
};
