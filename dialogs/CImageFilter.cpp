#include "dialogs/CImageFilter.h"

#include <array>

namespace {

constexpr std::array<LONG, 25> kSoften5 = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 8,
                                           1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr std::array<LONG, 9> kMean3 = {1, 1, 1, 1, 1, 1, 1, 1, 1};

} // namespace

bool CImageFilter::ApplyFixedChain(CRaster& picture) {
    return picture.ApplyMedian(4) && picture.ApplyConvolution(kSoften5, 5, 32, 0) &&
           picture.ApplyConvolution(kMean3, 3, 9, 0);
}

bool CImageFilter::CropPreview(CRaster& picture, CRaster& crop) {
    crop.Destroy();
    return picture.Crop(0, 0, kPreviewWidth, kPreviewHeight, &crop);
}

bool CImageFilter::Prepare() {
    const bool inputShown = CropPreview(input, inputPreview);
    output = input;
    const bool filtered = output.IsValid() && ApplyFixedChain(output);
    const bool outputShown = filtered && CropPreview(output, outputPreview);
    return inputShown && outputShown;
}

bool CImageFilter::Preview() {
    CRaster crop;
    if (!CropPreview(input, crop))
        return false;
    CRaster result;
    if (!tabs.CurrentPage().Apply(result, crop))
        return false;
    return outputPreview.TakeOver(result, true);
}
