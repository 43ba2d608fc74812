#include "document/PictureAllowance.h"

#include "document/CLogicalRectTracker.h"
#include "image/core/CRaster.h"
#include "platform/TextFormat.h"

#include <algorithm>

namespace {
std::uint64_t Megabytes(std::uint64_t bytes) {
    return (bytes + 999999) / 1000000;
}
} // namespace

DecodeOptions PictureAllowance::Next() const {
    DecodeOptions options = each_;
    options.budget = std::min(each_.budget, left_);
    return options;
}

PictureAllowance PictureAllowance::Beside(const std::vector<CLogicalRectTracker>& objects,
                                          DecodeOptions each) {
    PictureAllowance allowance(each);
    for (const CLogicalRectTracker& object : objects)
        if (const CRaster* picture = object.GetImage(); picture && picture->IsValid())
            allowance.left_ -= std::min(allowance.left_, allowance.Held(*picture));
    return allowance;
}

std::uint64_t PictureAllowance::Held(const CRaster& picture) {
    std::uint64_t held = std::uint64_t{picture.GetStride()} * picture.GetHeight();
    if (picture.IsAlphaValid())
        held += std::uint64_t{picture.GetWidth()} * picture.GetHeight();
    return held;
}

bool PictureAllowance::Take(const CRaster& picture) {
    const std::uint64_t held = Held(picture);
    if (held > left_)
        return false;
    left_ -= held;
    return true;
}

std::string PictureAllowance::Refusal(const char* decoderReason) const {
    std::string text = decoderReason;
    // Only a refusal for size names a limit, and the total may have been that limit.
    if (left_ < each_.budget && text.find("the limit is") != std::string::npos)
        text += "; " + TotalPassedMessage();
    return text;
}

std::string PictureAllowance::TotalPassedMessage() const {
    return Format("all the pictures of one document together may hold at most %llu MB",
                  static_cast<unsigned long long>(Megabytes(together_)));
}
