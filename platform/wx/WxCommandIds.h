#pragma once
#include "platform/WinTypes.h"

// wxWidgets ids must stay below 32767, and many command numbers do not; each command of the
// program's table gets the wx id kFirst + its place in the table.
class WxCommandIds {
public:
    static constexpr int kFirst = 20000;

    // wxID_NONE for a number that is not a command of the program.
    static int ToWx(UINT command);
    // 0 for an id that is not one of the commands.
    static UINT FromWx(int wxId);
    static int Last();
};
