// Text on the metafile canvas: fonts bounded in size, placement and opaque boxes.
#include "image/metafile/MetafileCanvas.h"

#include "image/core/CRaster.h"
#include "image/core/PictureBudget.h"
#include "image/metafile/ClipRects.h"
#include "image/metafile/PolygonSpans.h"
#include "image/metafile/RasterMix.h"
#include "platform/CBitmap.h"
#include "platform/CBrush.h"
#include "platform/CDC.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/RasterSurface.h"

#include "image/metafile/MetafileCanvasLimits.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

using namespace metafile_canvas;

void MetafileCanvas::Text(double x, double y, const std::string& text, const RECT* opaque) {
    const MetafileMatrix m = Full();
    if (opaque) {
        const CRect box = DeviceBox(opaque->left, opaque->top, opaque->right, opaque->bottom);
        if (!Spend(AreaCost(box)))
            return;
        Paint(
            box, [&] { dc_->FillSolidRect(&box, state_.bkColor); }, Ink::Plain);
    }
    if (text.empty())
        return;
    const bool fromPosition = (state_.textAlign & TA_UPDATECP) != 0;
    const POINT at = Device(fromPosition ? state_.position : Point{x, y}, m);
    LOGFONT font = state_.font;
    const double scale = std::hypot(m.m21, m.m22);
    const double height = Bounded(std::fabs(font.lfHeight * scale), kMaxFontHeight);
    font.lfHeight = font.lfHeight < 0 ? -LONG(std::lround(height)) : LONG(std::lround(height));
    // Each character costs a square of the height it is drawn at, at most the whole output,
    // and never less than laying it out.
    const double drawn = font.lfHeight == 0 ? kDefaultFontPixels : height;
    const double glyph =
        std::max(kLeastGlyphCost, std::min((drawn + 1) * (drawn + 1), double(AreaCost(bounds_))));
    if (!Spend(std::uint64_t(double(text.size()) * glyph)))
        return;
    font.lfWidth = 0;
    font_.CreateFontIndirect(&font);
    dc_->SelectObject(&font_);
    dc_->SetTextColor(state_.textColor);
    dc_->SetBkMode(state_.bkMode);
    dc_->SetBkColor(state_.bkColor);
    dc_->SetTextAlign(state_.textAlign & ~TA_UPDATECP);
    Paint(
        bounds_, [&] { dc_->TextOut(at.x, at.y, text); }, Ink::Plain);
}
