#pragma once
#include "platform/ICommandCatalog.h"

// The program's command table and toolbar pictures as the window layer reads them.
class CommandCatalog : public ICommandCatalog {
public:
    std::size_t Count() const override;
    UINT CommandAt(std::size_t index) const override;
    std::optional<std::size_t> IndexOf(UINT command) const override;
    CommandLook Look(UINT command) const override;
    RgbaPicture ToolPicture(UINT command) const override;
};
