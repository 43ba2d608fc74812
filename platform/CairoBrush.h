#pragma once
#include "platform/DeviceStyles.h"

typedef struct _cairo cairo_t;

// Makes a brush the source of a Cairo context: a colour, or an 8 x 8 hatch cell repeated from
// the device origin (its gaps in the background colour when the background is opaque). The
// context's user space must be device pixels when this is called.
void SetCairoBrush(cairo_t* cr, const DeviceBrush& brush, const Background& bk);
void SetCairoColor(cairo_t* cr, COLORREF color);
