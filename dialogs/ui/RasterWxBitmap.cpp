#include "dialogs/ui/RasterWxBitmap.h"

#include "image/core/CRaster.h"

#include <wx/image.h>

wxBitmap RasterWxBitmap(const CRaster& picture) {
    if (!picture.IsValid())
        return wxBitmap();
    const int width = int(picture.GetWidth());
    const int height = int(picture.GetHeight());
    wxImage image(width, height, false);
    unsigned char* rgb = image.GetData();
    for (int top = 0; top < height; ++top)
        for (int x = 0; x < width; ++x) {
            const RGBQUAD c = picture.BlindGetPixelColor(x, height - 1 - top, false);
            *rgb++ = c.rgbRed;
            *rgb++ = c.rgbGreen;
            *rgb++ = c.rgbBlue;
        }
    return wxBitmap(image);
}
