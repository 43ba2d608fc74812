#include "view/DrawingCopy.h"

#include "document/CGridloomDoc.h"
#include "image/core/CRaster.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "view/IRenderView.h"

#include <cstdint>

namespace {

// Puts the marks of the active layer back however the rendering ends.
class MarksRestored {
public:
    explicit MarksRestored(IRenderView& view) : view_(view) { view_.SetActiveLayer(0); }
    ~MarksRestored() {
        view_.SetScreenFlag(true);
        view_.SetActiveLayer(-1);
    }
    MarksRestored(const MarksRestored&) = delete;
    MarksRestored& operator=(const MarksRestored&) = delete;

private:
    IRenderView& view_;
};

CSize LogicalExtent(const IRenderView& view) {
    const MazeSettings& s = view.GetDocument()->Settings();
    return {s.pageWidth, static_cast<LONG>(std::int64_t{s.pageHeight} + view.BandHeight() +
                                           DrawingCopy::kExtraUnits)};
}

} // namespace

CSize DrawingCopy::PixelExtent(const IRenderView& view) {
    const CSize logical = LogicalExtent(view);
    return {MulDiv(logical.cx, kDpi, 1000), MulDiv(logical.cy, kDpi, 1000)};
}

std::string DrawingCopy::Render(IRenderView& view, CRaster& picture) {
    CGridloomDoc* doc = view.GetDocument();
    if (!doc || doc->GridCount() == 0)
        return "There is no maze to copy.";
    const CSize logical = LogicalExtent(view);
    const CSize pixels = PixelExtent(view);
    if (pixels.cx < 1 || pixels.cy < 1)
        return "The page is too small to copy.";
    CBitmap bitmap;
    if (!bitmap.CreateBitmap32(pixels.cx + 1, pixels.cy + 1))
        return "There is not enough memory for a picture of " + std::to_string(pixels.cx + 1) +
               " x " + std::to_string(pixels.cy + 1) + " pixels.";
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    dc.SetMapMode(MM_TEXT);
    dc.PatBlt(0, 0, pixels.cx + 1, pixels.cy + 1, WHITENESS);
    // Logical (0, 0) is the top-left pixel; y grows down the page as on the screen.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(logical.cx, -logical.cy);
    dc.SetViewportExt(pixels.cx, pixels.cy);
    {
        MarksRestored marks(view);
        view.SetScreenFlag(false);
        view.OnDraw(dc);
    }
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
    if (!picture.CreateFromBitmap(bitmap))
        return std::string("The copied picture could not be made: ") + picture.GetLastError();
    return {};
}

std::string DrawingCopy::Encode(CRaster& picture, std::vector<ClipboardPicture>& out) {
    out.clear();
    const struct {
        const char* mime;
        DWORD type;
    } formats[] = {{"image/png", CRaster::kTypePng}, {"image/bmp", CRaster::kTypeBmp}};
    for (const auto& f : formats) {
        ClipboardPicture p{f.mime, {}};
        if (!picture.EncodeToMemory(p.bytes, f.type))
            return std::string("The copied picture could not be encoded: ") +
                   picture.GetLastError();
        out.push_back(std::move(p));
    }
    return {};
}
