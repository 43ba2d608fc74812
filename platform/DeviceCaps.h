#pragma once
#include "platform/GdiConstants.h"

// What GetDeviceCaps reports for one device. Sizes are in device pixels unless named in
// millimetres.
struct DeviceCaps {
    int technology = DT_RASDISPLAY;
    int dpiX = 96;
    int dpiY = 96;
    int horzRes = 0; // printable width
    int vertRes = 0;
    int physicalWidth = 0; // whole page
    int physicalHeight = 0;
    int physicalOffsetX = 0; // unprintable margin
    int physicalOffsetY = 0;
    int bitsPixel = 32;

    int Get(int index) const;
};
