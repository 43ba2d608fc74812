#pragma once
#include "platform/WinTypes.h"

#include <span>
#include <string>
#include <string_view>

// Which class answers a command (its message map), as the command router looks for it.
enum class CommandOwner {
    None,      // nobody: the command shows disabled and its keys do nothing
    Document,  // the maze document
    View,      // the maze view
    Frame,     // the main frame
    App,       // the application object
    InfoPane,  // the information pane
    Framework, // the framework's own behaviour (printing, exit, bars, panes)
};

// One command: its number, prompt ("status text\ntooltip"), who runs it and who enables it.
struct CommandInfo {
    UINT id;
    std::string_view prompt; // empty: no prompt
    CommandOwner owner;
    CommandOwner enabler;   // whose update handler decides (None: the router's default)
    bool checkable = false; // its menu item can carry a check mark
    bool toggles = false;   // its toolbar button can show pressed
};

// The program's command list: every command of the menus, toolbars and key table.
class CommandTable {
public:
    static std::span<const CommandInfo> All();
    // nullptr for a number that is not a command of the program.
    static const CommandInfo* Find(UINT id);
    // The status-bar part of the prompt (before the line feed); empty when there is none.
    static std::string StatusText(UINT id);
    // The tooltip part of the prompt (after the line feed); empty when there is none.
    static std::string Tooltip(UINT id);
};
