#pragma once
#include "res/PixelPicture.h"

// The style page's pictures of the plain maze styles: a patch of each template's cells with a
// few walls open, start in green and stop in red. Picture 165, the circular style, is also the
// image settings dialog's preview background.
class StylePreviewArt {
public:
    static constexpr int kSize = 100;
    static constexpr int kCircular = 165;
    // The picture stored under `bitmapId` (154, 155, 156, 157, 161, 162, 165); an empty
    // picture for any other number.
    static const PixelPicture& Get(int bitmapId);

private:
    static PixelPicture Draw(int bitmapId);
};
