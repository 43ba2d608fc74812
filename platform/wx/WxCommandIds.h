#pragma once
#include "platform/WinTypes.h"

class ICommandCatalog;

// wxWidgets ids must stay below 32767, and many command numbers do not; each command of the
// program's catalogue gets the wx id kFirst + its place in the catalogue. wx ids are
// process-wide, so the catalogue is too: the program's entry installs it once, before any
// window is made, and it must outlive every window.
class WxCommandIds {
public:
    static constexpr int kFirst = 20000;

    static void Use(const ICommandCatalog& catalog);
    static const ICommandCatalog& Catalog();

    // wxID_NONE for a number that is not a command of the program.
    static int ToWx(UINT command);
    // 0 for an id that is not one of the commands.
    static UINT FromWx(int wxId);
    static int Last();
};
