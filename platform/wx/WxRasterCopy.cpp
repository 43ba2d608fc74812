#include "platform/wx/WxRasterCopy.h"

#include "platform/RasterSurface.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/image.h>

void WxCopyRaster(wxDC& dc, RasterSurface& surface, const CRect& part, int x, int y) {
    CRect r;
    if (!r.IntersectRect(part, surface.Rect()))
        return;
    wxImage image(r.Width(), r.Height(), false);
    unsigned char* rgb = image.GetData();
    for (int row = r.top; row < r.bottom; ++row) {
        const std::uint32_t* px = surface.Row(row) + r.left;
        for (int col = 0; col < r.Width(); ++col) {
            *rgb++ = static_cast<unsigned char>(px[col] >> 16);
            *rgb++ = static_cast<unsigned char>(px[col] >> 8);
            *rgb++ = static_cast<unsigned char>(px[col]);
        }
    }
    dc.DrawBitmap(wxBitmap(image), x + (r.left - part.left), y + (r.top - part.top));
}
