#pragma once
#include "platform/MenuItem.h"

#include <vector>

// The main window's menu bar, top-level popups in order.
class MenuResource {
public:
    static const std::vector<MenuItem>& MainMenuBar();
};
