#pragma once
#include "image/core/CRaster.h"

#include <string>

// The image settings dialog's values: a layer picture's size, depth and transparency, and the
// opacity the user sets with the slider, shown over a background in a small preview.
class CImageSettingsDialog {
public:
    static constexpr int kTemplateId = 184;
    static constexpr int kPreviewId = 1070;
    static constexpr int kSliderId = 1071;
    static constexpr int kPercentId = 1073;
    static constexpr int kWideId = 1074;
    static constexpr int kBppId = 1075;
    static constexpr int kHighId = 1076;
    static constexpr int kTransparencyId = 1077;
    static constexpr int kPreviewWidth = 250;
    static constexpr int kPreviewHeight = 200;
    static constexpr int kMaxOpacity = 255;

    CImageSettingsDialog();

    CRaster background; // drawn under the picture in the preview
    CRaster picture;    // set by the caller
    CRaster preview;
    int opacity = 0; // 0..255, set by the caller and read back after OK

    std::string PercentText() const;
    std::string WideText() const;
    std::string HighText() const;
    std::string BppText() const;
    std::string TransparencyText() const;

    // The slider moved: takes its position and redraws the preview.
    void SetOpacity(int position);
    // Draws the background and over it the picture's top-left corner, stretched to the whole
    // preview and blended by the opacity. False when nothing could be drawn.
    bool UpdatePreview();
};
