#pragma once
#include "platform/WinTypes.h"

// The colour the screen shows at (x, y) in screen coordinates, read afresh from the X server
// each time. False off the screen and on desktops that keep their pixels to themselves
// (Wayland).
bool WxReadScreenPixel(int x, int y, COLORREF& color);
