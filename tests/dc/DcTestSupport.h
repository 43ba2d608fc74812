#pragma once
#include "platform/CDC.h"

#include <memory>

// A white raster of the given size selected into a memory context.
struct RasterFixture {
    RasterFixture(int width, int height, int dpi = 96) {
        bitmap.CreateBitmap32(width, height);
        dc.CreateCompatibleDC(nullptr);
        dc.SetDeviceResolution(dpi, dpi);
        dc.SelectObject(&bitmap);
    }
    COLORREF At(int x, int y) {
        dc.Flush();
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bitmap.Bits() + y * bitmap.Stride());
        return RasterSurface::ToColor(row[x]);
    }
    bool IsWhite(int x, int y) { return At(x, y) == RGB(255, 255, 255); }
    int CountNonWhite() {
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += IsWhite(x, y) ? 0 : 1;
        return n;
    }
    // Bounding box of the pixels that are not white (empty when there are none).
    CRect InkBox() {
        CRect box;
        bool any = false;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (!IsWhite(x, y)) {
                    if (!any)
                        box = CRect(x, y, x + 1, y + 1);
                    box.UnionRect(box, CRect(x, y, x + 1, y + 1));
                    any = true;
                }
        return box;
    }

    CBitmap bitmap;
    CDC dc;
};
