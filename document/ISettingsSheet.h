#pragma once
#include <string>

struct SettingsPages;

// Shows the settings sheet: the pages' values are filled in before and read after. The
// window layer provides the real sheet; tests script one.
class ISettingsSheet {
public:
    virtual ~ISettingsSheet() = default;
    // Runs the sheet titled `title`, starting on page `startPage` (0-based). True on OK; on
    // Cancel the pages may hold edited values and the caller discards them.
    virtual bool Run(const std::string& title, int startPage, SettingsPages& pages) = 0;
};
