#include "dialogs/BitmapSetup.h"

#include "forms/IntegerFieldCheck.h"

BitmapSetup::Controls BitmapSetup::ToControls() const {
    return {std::to_string(x), std::to_string(y), screenResolution != 0,
            std::to_string(numberOfMazes)};
}

std::optional<DialogFieldError> BitmapSetup::FromControls(const Controls& controls) {
    BitmapSetup next = *this;
    if (auto error = IntegerFieldCheck::ReadInRange(kXId, controls.x, kMinSide, kMaxSide, next.x))
        return error;
    if (auto error = IntegerFieldCheck::ReadInRange(kYId, controls.y, kMinSide, kMaxSide, next.y))
        return error;
    next.screenResolution = controls.screenResolution ? 1 : 0;
    if (auto error = IntegerFieldCheck::ReadInRange(kCountId, controls.count, kMinCount, kMaxCount,
                                                    next.numberOfMazes))
        return error;
    *this = next;
    return std::nullopt;
}
