#pragma once
#include "dialogs/CFilterTabCtrl.h"
#include "image/core/CRaster.h"

// The filter preview: the caller's picture on the left, on the right the same picture through
// the fixed chain of filters or, after PREVIEW, through the current page. Both sides show the
// picture's top-left kPreviewWidth x kPreviewHeight pixels.
class CImageFilter {
public:
    static constexpr int kTemplateId = 207;
    static constexpr int kFilterStackId = 1084;
    static constexpr int kInputPreviewId = 1086;
    static constexpr int kOutputPreviewId = 1087;
    static constexpr int kAddFilterId = 1088;
    static constexpr int kRemoveFilterId = 1089;
    static constexpr int kPreviewId = 3;
    static constexpr LONG kPreviewWidth = 325;
    static constexpr LONG kPreviewHeight = 420;

    CRaster input;        // set by the caller
    CRaster output;       // the input through the fixed chain, once shown
    CRaster inputPreview; // crops the window shows
    CRaster outputPreview;
    CFilterTabCtrl tabs;

    // When the dialog shows: the output starts as a copy of the input and goes through the
    // fixed chain; both previews are cut. False when a filter failed (a preview stays empty).
    bool Prepare();
    // PREVIEW: the current page applied to the input's crop becomes the output preview.
    bool Preview();

    // Median 4, the 5 x 5 kernel of centre 8 over 32, the 3 x 3 mean.
    static bool ApplyFixedChain(CRaster& picture);

private:
    static bool CropPreview(CRaster& picture, CRaster& crop);
};
