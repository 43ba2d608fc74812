#pragma once
#include "dialogs/CDialogFilter.h"
#include "forms/DialogFieldError.h"

#include <optional>
#include <string>
#include <string_view>

// The "Median" page: the median filter with its window size.
class CDFilterMedian : public CDialogFilter {
public:
    static constexpr int kTemplateId = 209;
    static constexpr int kKernelSizeId = 1091;
    static constexpr int kMinKernelSize = 1;
    static constexpr int kMaxKernelSize = 255;

    int kernelSize = 3;

    int TemplateId() const override { return kTemplateId; }
    bool Apply(CRaster& destination, const CRaster& source) override;

    // The kernel edit's text; refused outside kMinKernelSize..kMaxKernelSize.
    std::string KernelText() const { return std::to_string(kernelSize); }
    std::optional<DialogFieldError> TakeKernelText(std::string_view text);
};
