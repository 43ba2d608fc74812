#pragma once
// Pens, brushes and the background as a back end sees them: in device pixels and resolved
// against the context's state.
#include "platform/GdiConstants.h"

struct DevicePen {
    int style = PS_SOLID; // PS_SOLID, PS_DASH .. PS_DASHDOTDOT, PS_NULL
    int width = 1;        // pixels, at least 1
    COLORREF color = 0;
    bool geometric = false; // square ends, mitred corners, dashes scaled with the width
    bool IsNull() const { return style == PS_NULL; }
};

struct DeviceBrush {
    int style = BS_SOLID; // BS_SOLID, BS_HATCHED, BS_NULL
    int hatch = 0;
    COLORREF color = 0xFFFFFF;
    bool IsNull() const { return style == BS_NULL; }
};

struct Background {
    int mode = OPAQUE;
    COLORREF color = 0xFFFFFF;
    bool IsOpaque() const { return mode == OPAQUE; }
};
