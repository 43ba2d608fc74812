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

    // The Page page's fields, each against the range a document file may hold, in the order
    // the page shows them (the sheet checks them as it reads the page). Negative margins are
    // refused: printing raises any margin to the printer's own border, so below 0 means nothing.
    static std::optional<Refusal> PageValues(const PP3& page);
};
