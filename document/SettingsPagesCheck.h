#pragma once
#include "document/SettingsPages.h"

#include <optional>
#include <string>

// Whether the pages' values can build a maze, checked exactly as applying them checks them,
// so that the sheet can refuse them while it is still open: the page and field to change and
// why.
class SettingsPagesCheck {
public:
    struct Refusal {
        int page = 0;
        int controlId = 0;
        std::string message;
    };
    static std::optional<Refusal> For(const SettingsPages& pages);
};
