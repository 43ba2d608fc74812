#include "platform/wx/WxCommandIds.h"

#include "platform/ICommandCatalog.h"

#include <wx/defs.h>

#include <stdexcept>

namespace {
const ICommandCatalog* installed = nullptr;
} // namespace

void WxCommandIds::Use(const ICommandCatalog& catalog) {
    installed = &catalog;
}

const ICommandCatalog& WxCommandIds::Catalog() {
    if (!installed)
        throw std::logic_error("no command catalogue installed");
    return *installed;
}

int WxCommandIds::ToWx(UINT command) {
    const auto index = Catalog().IndexOf(command);
    if (!index)
        return wxID_NONE;
    return kFirst + static_cast<int>(*index);
}

UINT WxCommandIds::FromWx(int wxId) {
    if (wxId < kFirst || wxId > Last())
        return 0;
    return Catalog().CommandAt(static_cast<std::size_t>(wxId - kFirst));
}

int WxCommandIds::Last() {
    return kFirst + static_cast<int>(Catalog().Count()) - 1;
}
