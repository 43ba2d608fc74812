#pragma once
#include "platform/WinTypes.h"

// The key and button state that comes with a mouse event, in the Windows API's bits.
enum : UINT {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};
