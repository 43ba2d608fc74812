#include "dialogs/CImageSettingsDialog.h"

#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/TextFormat.h"
#include "res/WatermarkPicture.h"

#include <algorithm>

namespace {

CRaster FromPixelPicture(const PixelPicture& p) {
    CRaster img(DWORD(p.width), DWORD(p.height), 24);
    for (int top = 0; top < p.height; ++top)
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t px = p.pixels[std::size_t(top) * std::size_t(p.width) + x];
            img.SetPixelColor(x, p.height - 1 - top,
                              RGBQUAD::FromRgb(BYTE(px >> 16), BYTE(px >> 8), BYTE(px)));
        }
    return img;
}

} // namespace

CImageSettingsDialog::CImageSettingsDialog()
    : background(FromPixelPicture(WatermarkPicture::Get())) {}

std::string CImageSettingsDialog::PercentText() const {
    return Format("%d%%", opacity * 100 / kMaxOpacity);
}

std::string CImageSettingsDialog::WideText() const {
    return Format("WIDE: %4d Pixels", int(picture.GetWidth()));
}

std::string CImageSettingsDialog::HighText() const {
    return Format("HIGH: %4d Pixels", int(picture.GetHeight()));
}

std::string CImageSettingsDialog::BppText() const {
    return Format("BPP:  %4d bits/Pixel", int(picture.GetBpp()));
}

std::string CImageSettingsDialog::TransparencyText() const {
    return picture.IsTransparent() ? "TRANSPARENCY SET" : "NON-TRANSPARENT";
}

void CImageSettingsDialog::SetOpacity(int position) {
    opacity = std::clamp(position, 0, kMaxOpacity);
    UpdatePreview();
}

bool CImageSettingsDialog::UpdatePreview() {
    CBitmap bitmap;
    CDC dc;
    if (!bitmap.CreateBitmap32(kPreviewWidth, kPreviewHeight) || !dc.CreateCompatibleDC(nullptr))
        return false;
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, kPreviewWidth, kPreviewHeight, RGB(255, 255, 255));
    background.Draw(dc, 0, 0, kPreviewWidth, kPreviewHeight);
    CRaster crop;
    if (picture.IsValid() && picture.Crop(0, 0, kPreviewWidth, kPreviewHeight, &crop) &&
        crop.CreateAlpha()) {
        // Palette alpha only counts where the palette carries some; without, every entry's
        // zero would hide the picture whatever the opacity.
        crop.EnablePaletteAlpha(crop.HasPaletteAlpha());
        crop.SetAlphaLevel(BYTE(std::clamp(opacity, 0, kMaxOpacity)));
        crop.Draw(dc, 0, 0, kPreviewWidth, kPreviewHeight);
    }
    return preview.CreateFromBitmap(bitmap);
}
