#include "view/PageWatermark.h"

#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "res/WatermarkPicture.h"

#include <cstring>

void PageWatermark::Draw(CDC& dc, CSize area) {
    const PixelPicture& picture = WatermarkPicture::Get();
    const int tileWidth = area.cx / 5;
    const int tileHeight = -area.cy / 5;
    if (tileWidth <= 0 || tileHeight <= 0)
        return;
    CBitmap bitmap;
    if (!bitmap.CreateBitmap32(picture.width, picture.height))
        return;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(bitmap.Bits() + static_cast<std::ptrdiff_t>(y) * bitmap.Stride(),
                    &picture.pixels[static_cast<std::size_t>(y) * picture.width],
                    static_cast<std::size_t>(picture.width) * 4);
    bitmap.MarkDirty();
    CDC source;
    source.CreateCompatibleDC(&dc);
    source.SelectObject(&bitmap);
    int row = 0;
    for (int y = 0; y > area.cy; y -= tileHeight, ++row) {
        for (int x = row % 2 ? 0 : -tileWidth / 2; x < area.cx + tileWidth / 2; x += tileWidth)
            dc.StretchBlt(x, y, tileWidth, -tileHeight, &source, 0, 0, picture.width,
                          picture.height, SRCCOPY);
    }
}
