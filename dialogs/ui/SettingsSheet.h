#pragma once
#include "document/ISettingsSheet.h"

#include <functional>

class TileSetCatalogue;
class wxWindow;
class wxDialog;

// The "Orlimber Settings" sheet: Style, Dimensions, Page, Advanced and GROWTH pages over a
// copy of the document's page values, with OK and Cancel.
class SettingsSheet : public ISettingsSheet {
public:
    SettingsSheet(wxWindow* parent, TileSetCatalogue& sets) : parent_(parent), sets_(sets) {}
    bool Run(const std::string& title, int startPage, SettingsPages& pages) override;
    // Called with the sheet once it is built, before it shows (window tests drive it).
    void OnShow(std::function<int(wxDialog&)> runner) { runner_ = std::move(runner); }

private:
    wxWindow* parent_;
    TileSetCatalogue& sets_;
    std::function<int(wxDialog&)> runner_;
};
