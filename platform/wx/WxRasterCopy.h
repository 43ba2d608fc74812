#pragma once
#include "platform/CRect.h"

class RasterSurface;
class wxDC;

// Copies the part of an off-screen raster to a window's context, its corner at (x, y).
void WxCopyRaster(wxDC& dc, RasterSurface& surface, const CRect& part, int x, int y);
