#include "res/CommandCatalog.h"

#include "res/CommandTable.h"
#include "res/ToolbarArt.h"

std::size_t CommandCatalog::Count() const {
    return CommandTable::All().size();
}

UINT CommandCatalog::CommandAt(std::size_t index) const {
    const auto all = CommandTable::All();
    return index < all.size() ? all[index].id : 0;
}

std::optional<std::size_t> CommandCatalog::IndexOf(UINT command) const {
    const CommandInfo* info = CommandTable::Find(command);
    if (!info)
        return std::nullopt;
    return static_cast<std::size_t>(info - CommandTable::All().data());
}

CommandLook CommandCatalog::Look(UINT command) const {
    const CommandInfo* info = CommandTable::Find(command);
    return {info && info->checkable, info && info->toggles, CommandTable::StatusText(command),
            CommandTable::Tooltip(command)};
}

RgbaPicture CommandCatalog::ToolPicture(UINT command) const {
    return ToolbarArt::Draw(command);
}
