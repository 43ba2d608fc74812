#pragma once
#include "image/core/CRaster.h"

#include <memory>

class IClipboard;
struct RgbaPicture;

// The view's working image and its pending flag: a picture pasted from the clipboard waits
// here until the picture tool places it with its next rubber band.
class PendingPicture {
public:
    bool IsPending() const { return pending_; }
    void SetPending(bool pending) { pending_ = pending; }
    // Takes the clipboard's picture as the working image and sets the flag; false (nothing
    // changed) when the clipboard offers none.
    bool PasteFrom(IClipboard& clipboard);
    // Takes `picture` (left empty) as the working image and sets the flag.
    void Keep(CRaster& picture) {
        working_.TakeOver(picture, false);
        pending_ = true;
    }
    // A copy of the working image (pixels, selection and alpha); clears the flag.
    std::unique_ptr<CRaster> Take();
    const CRaster& Working() const { return working_; }

    // The clipboard's picture as a 24-bit image, with an alpha plane when any pixel is not
    // opaque; false for an empty or inconsistent picture.
    static bool FromRgba(const RgbaPicture& picture, CRaster& image);

private:
    CRaster working_;
    bool pending_ = false;
};
