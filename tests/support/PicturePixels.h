#pragma once
// Our own pictures as the plain RGB rows the independent tools' pictures are compared in.
#include "image/core/CRaster.h"
#include "platform/CBitmap.h"
#include "platform/RasterSurface.h"
#include "tests/support/ToolPipe.h"

inline ToolPipe::Picture PixelsOf(RasterSurface& surface) {
    ToolPipe::Picture p;
    p.width = surface.Width();
    p.height = surface.Height();
    p.rgb.reserve(static_cast<std::size_t>(p.width) * p.height * 3);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const COLORREF c = RasterSurface::ToColor(surface.Row(y)[x]);
            p.rgb.insert(p.rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    return p;
}

inline ToolPipe::Picture PixelsOf(CBitmap& bitmap) {
    return PixelsOf(*bitmap.Surface());
}

// Image rows count from the bottom; the picture's from the top.
inline ToolPipe::Picture PixelsOf(const CRaster& image) {
    ToolPipe::Picture p;
    p.width = static_cast<int>(image.GetWidth());
    p.height = static_cast<int>(image.GetHeight());
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const RGBQUAD c = image.GetPixelColor(x, p.height - 1 - y, false);
            p.rgb.insert(p.rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    return p;
}
