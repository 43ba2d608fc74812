#pragma once
#include "platform/RgbaPicture.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <optional>
#include <string>

// How one command shows in menus and toolbars.
struct CommandLook {
    bool checkable = false; // its menu item can carry a check mark
    bool toggles = false;   // its toolbar button can show pressed
    std::string statusText;
    std::string tooltip;
};

// The program's commands as the window layer needs them to build menus, key tables and
// toolbars; the program's resources describe them, so the window layer names none itself.
class ICommandCatalog {
public:
    virtual ~ICommandCatalog() = default;
    virtual std::size_t Count() const = 0;
    // The command at a place in the catalogue's fixed order.
    virtual UINT CommandAt(std::size_t index) const = 0;
    // The place of a command; none for a number that is not a command.
    virtual std::optional<std::size_t> IndexOf(UINT command) const = 0;
    virtual CommandLook Look(UINT command) const = 0;
    // Its toolbar picture; empty for a command without a button.
    virtual RgbaPicture ToolPicture(UINT command) const = 0;
};
