#include "controls/CFOImageList.h"

#include "platform/CDC.h"
#include "res/PixelPicture.h"

int CFOImageList::Add(const PixelPicture* picture, int imageWidth, COLORREF mask) {
    if (!picture || picture->width <= 0 || picture->height <= 0 ||
        static_cast<std::int64_t>(picture->pixels.size()) <
            static_cast<std::int64_t>(picture->width) * picture->height)
        return -1;
    const int width = imageWidth < 0 ? picture->width : imageWidth;
    if (width == 0 || width > picture->width)
        return -1;
    const int first = GetImageCount();
    std::vector<CRaster> added;
    RGBQUAD key;
    key.rgbRed = GetRValue(mask);
    key.rgbGreen = GetGValue(mask);
    key.rgbBlue = GetBValue(mask);
    for (int x0 = 0; x0 + width <= picture->width; x0 += width) {
        CRaster image;
        if (!image.Create(static_cast<DWORD>(width), static_cast<DWORD>(picture->height), 24))
            return -1;
        for (int y = 0; y < picture->height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t px =
                    picture->pixels[static_cast<std::size_t>(y) *
                                        static_cast<std::size_t>(picture->width) +
                                    static_cast<std::size_t>(x0 + x)];
                // The image library counts rows from the bottom.
                image.SetPixelColorRef(x, picture->height - 1 - y,
                                       RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF));
            }
        }
        image.SetTransparentIndex(0);
        image.SetTransparentColor(key);
        added.push_back(std::move(image));
    }
    for (CRaster& image : added)
        images_.push_back(std::move(image));
    return first;
}

bool CFOImageList::Remove(int index) {
    if (index < 0 || index >= GetImageCount())
        return false;
    images_.erase(images_.begin() + index);
    return true;
}

CSize CFOImageList::GetImageSize(int index) const {
    if (index < 0 || index >= GetImageCount())
        return {0, 0};
    const CRaster& image = images_[static_cast<std::size_t>(index)];
    return {static_cast<LONG>(image.GetWidth()), static_cast<LONG>(image.GetHeight())};
}

bool CFOImageList::Draw(CDC& dc, int index, CPoint at, COLORREF background) const {
    if (index < 0 || index >= GetImageCount())
        return false;
    const CRaster& image = images_[static_cast<std::size_t>(index)];
    const LONG w = static_cast<LONG>(image.GetWidth()), h = static_cast<LONG>(image.GetHeight());
    if (background != CLR_INVALID)
        dc.FillSolidRect(at.x, at.y, w, h, background);
    return image.Draw(dc, at.x, at.y) != 0;
}
