#pragma once
#include "platform/WinTypes.h"

// Accelerator flags in the Windows API's numbering. Without FVIRTKEY the key is a character,
// matched whatever the Shift state (so Alt+"," and Alt+"<" can share a key on one keyboard).
enum : BYTE { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };

struct ACCEL {
    BYTE fVirt;
    WORD key;
    UINT cmd;
};

// A key press as the window layer reports it: the key's code (virtual-key numbering; the
// unshifted character for punctuation) and the modifiers held.
struct KeyStroke {
    WORD key = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
};
