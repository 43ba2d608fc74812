#pragma once
#include "platform/WinTypes.h"

#include <string>
#include <vector>

// One entry of a menu: a command, a separator or a popup with its own entries. Texts carry "&"
// before the mnemonic letter and "\t" before the key shown at the right.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    UINT id = 0;
    std::string text;
    std::vector<MenuItem> items;
};
