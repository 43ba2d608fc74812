#include "dialogs/CImageSettingsDialog.h"

#include "dialogs/PixelPictureRaster.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/TextFormat.h"
#include "res/StylePreviewArt.h"

#include <algorithm>

CImageSettingsDialog::CImageSettingsDialog()
    : background(RasterFromPicture(StylePreviewArt::Get(StylePreviewArt::kCircular))) {}

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
