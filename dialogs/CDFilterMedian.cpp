#include "dialogs/CDFilterMedian.h"

#include "forms/IntegerFieldCheck.h"
#include "image/core/CRaster.h"

bool CDFilterMedian::Apply(CRaster& destination, const CRaster& source) {
    CRaster result = source;
    if (!result.ApplyMedian(kernelSize))
        return false;
    return destination.TakeOver(result, true);
}

std::optional<DialogFieldError> CDFilterMedian::TakeKernelText(std::string_view text) {
    return IntegerFieldCheck::ReadInRange(kKernelSizeId, text, kMinKernelSize, kMaxKernelSize,
                                          kernelSize);
}
