#pragma once
#include "platform/MenuItem.h"

#include <string>
#include <vector>

// The main window's menu bar, top-level popups in order.
class MenuResource {
public:
    static const std::vector<MenuItem>& MainMenuBar();
    // The document template's string: title, filter text and default extension.
    static const std::string& DocTemplateString();
};
