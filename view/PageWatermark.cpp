#include "view/PageWatermark.h"

#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CRect.h"
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
    // Only tiles that meet the clip are drawn, counted in 64 bits so that a page near the
    // integer limits neither wraps the loop nor hands the copy an overflowed corner.
    CRect clip;
    dc.GetClipBox(&clip);
    clip.NormalizeRect();
    const long long width = tileWidth, height = tileHeight;
    int row = 0;
    for (long long y = 0; y > area.cy; y -= height, ++row) {
        if (y - height > clip.bottom || y < clip.top)
            continue;
        for (long long x = row % 2 ? 0 : -width / 2; x < area.cx + width / 2; x += width) {
            if (x + width < clip.left || x > clip.right)
                continue;
            dc.StretchBlt(static_cast<int>(x), static_cast<int>(y), tileWidth, -tileHeight, &source,
                          0, 0, picture.width, picture.height, SRCCOPY);
        }
    }
}
