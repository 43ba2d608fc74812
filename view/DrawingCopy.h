#pragma once
#include "platform/CSize.h"
#include "platform/IClipboard.h"

#include <string>
#include <vector>

class IRenderView;
class CRaster;

// The drawing as Copy puts it on the clipboard: the page, the band below it and 150 more
// units, rendered as a print is (no selection marks, no on-screen-only cells) at 96 dpi with
// the page upright, and offered as PNG and as BMP.
class DrawingCopy {
public:
    static constexpr int kDpi = 96;
    static constexpr int kExtraUnits = 150;

    // The drawing's extent in pixels, w x h; the picture is one pixel larger each way.
    static CSize PixelExtent(const IRenderView& view);
    // Renders the drawing into `picture` (24 bits); the error text, empty on success.
    static std::string Render(IRenderView& view, CRaster& picture);
    // The encodings offered to the clipboard; the error text, empty on success.
    static std::string Encode(CRaster& picture, std::vector<ClipboardPicture>& out);
};
