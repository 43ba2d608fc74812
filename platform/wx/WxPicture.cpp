#include "platform/wx/WxPicture.h"

#include <wx/image.h>

wxBitmap WxBitmapFromPicture(const RgbaPicture& picture) {
    if (picture.Empty())
        return wxBitmap();
    wxImage image(picture.width, picture.height);
    image.InitAlpha();
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const BYTE* p = picture.Pixel(x, y);
            image.SetRGB(x, y, p[0], p[1], p[2]);
            image.SetAlpha(x, y, p[3]);
        }
    return wxBitmap(image);
}
