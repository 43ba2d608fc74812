#pragma once
#include "platform/MenuItem.h"

#include <span>

class wxMenu;
class wxMenuBar;
class wxToolBar;

// Builds wx menus and tool rows from the program's command catalogue, with the mapped wx ids, the
// status prompts as help strings and the tooltips.
class WxMenuBuilder {
public:
    static wxMenuBar* MenuBar(const std::vector<MenuItem>& popups);
    // Adds `buttons` (0 is a gap) with their pictures to `bar` and realizes it.
    static void FillToolBar(wxToolBar* bar, std::span<const UINT> buttons);

private:
    static void Fill(wxMenu* menu, const std::vector<MenuItem>& items);
};
