#include "platform/wx/WxCommandIds.h"

#include "res/CommandTable.h"

#include <wx/defs.h>

int WxCommandIds::ToWx(UINT command) {
    const CommandInfo* info = CommandTable::Find(command);
    if (!info)
        return wxID_NONE;
    return kFirst + static_cast<int>(info - CommandTable::All().data());
}

UINT WxCommandIds::FromWx(int wxId) {
    const auto all = CommandTable::All();
    if (wxId < kFirst || wxId > Last())
        return 0;
    return all[static_cast<size_t>(wxId - kFirst)].id;
}

int WxCommandIds::Last() {
    return kFirst + static_cast<int>(CommandTable::All().size()) - 1;
}
