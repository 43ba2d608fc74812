// Clipping of the metafile canvas, and the work budget every drawing call is counted against.
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

// ---- clipping -----------------------------------------------------------------------------

void MetafileCanvas::ApplyClip() {
    piece_ = bounds_;
    if (state_.clipped)
        piece_.IntersectRect(piece_, state_.clip.Box());
    dc_->SelectClipRgn(nullptr);
    dc_->IntersectClipRect(piece_.left, piece_.top, piece_.right, piece_.bottom);
}

// A region of several rectangles is drawn through each in turn.
void MetafileCanvas::Paint(const CRect& box, const std::function<void()>& draw, Ink ink) {
    if (painting_ || !state_.clipped || state_.clip.Rects().size() <= 1) {
        Mixed(box, draw, ink);
        return;
    }
    painting_ = true;
    for (const CRect& r : state_.clip.Rects()) {
        CRect reach;
        if (!piece_.IntersectRect(r, bounds_) || !reach.IntersectRect(piece_, box))
            continue;
        dc_->SelectClipRgn(nullptr);
        dc_->IntersectClipRect(piece_.left, piece_.top, piece_.right, piece_.bottom);
        Mixed(box, draw, ink);
    }
    painting_ = false;
    ApplyClip();
}

void MetafileCanvas::ClipTo(const ClipRects& region, int mode) {
    if (!state_.clipped && mode != kRgnCopy)
        state_.clip = ClipRects(bounds_);
    switch (mode) {
    case kRgnAnd:
        state_.clip.Intersect(region);
        break;
    case kRgnOr:
        state_.clip.Unite(region);
        break;
    case kRgnXor: {
        ClipRects both = state_.clip;
        both.Intersect(region);
        state_.clip.Unite(region);
        state_.clip.Subtract(both);
        break;
    }
    case kRgnDiff:
        state_.clip.Subtract(region);
        break;
    case kRgnCopy:
        state_.clip = region;
        break;
    default:
        return;
    }
    state_.clipped = true;
    ApplyClip();
}

// ---- work budget --------------------------------------------------------------------------

bool MetafileCanvas::Spend(std::uint64_t pixels) {
    if (exhausted_ || pixels > workLeft_) {
        exhausted_ = true;
        workLeft_ = 0;
        return false;
    }
    workLeft_ -= pixels;
    // Asking costs a call into the caller, so only after a good deal of work or of calls.
    sincePoll_ += pixels + kCallCost;
    if (stop_ && sincePoll_ >= kPollEvery) {
        sincePoll_ = 0;
        if (stop_()) {
            cancelled_ = exhausted_ = true;
            return false;
        }
    }
    return true;
}

bool MetafileCanvas::ChargeBitmap(std::uint64_t width, std::uint64_t height,
                                  std::uint64_t bytesPerPixel) {
    // Sides are below 2^32 each, so only the last product may overflow.
    const std::uint64_t area = width * height;
    const bool fits = bytesPerPixel == 0 || area <= bitmapRoom_ / bytesPerPixel;
    if (!fits) {
        const std::uint64_t bytes =
            area > ~std::uint64_t{0} / bytesPerPixel ? ~std::uint64_t{0} : area * bytesPerPixel;
        exhausted_ = true;
        if (refusal_.empty())
            refusal_ = PictureTooLargeMessage("Bitmap", width, height, bytes, bitmapRoom_);
        return false;
    }
    return Spend(area);
}

// What painting `box` costs: its part inside the clip, and one for the call.
std::uint64_t MetafileCanvas::AreaCost(const CRect& box) const {
    CRect inside;
    if (!inside.IntersectRect(box, ClipBox()))
        return 1;
    return 1 + std::uint64_t(inside.Width()) * std::uint64_t(inside.Height());
}

// Each segment costs its length, at most the output's diagonal, times the pen's width.
std::uint64_t MetafileCanvas::StrokeCost(const std::vector<POINT>& points) const {
    const double most = double(bounds_.Width()) + bounds_.Height();
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += std::min(most, double(std::abs(double(points[i].x) - points[i - 1].x)) +
                                     std::abs(double(points[i].y) - points[i - 1].y));
    const double width = Bounded(state_.pen.lopnWidth.x * Scale(), kMaxPenWidth);
    return points.size() + std::uint64_t(length * std::max(1.0, width));
}

CRect MetafileCanvas::OutputBox(const RECT& r) const {
    const Point a = output_.Apply(r.left, r.top), b = output_.Apply(r.right, r.bottom);
    return CRect(ToDevice(std::min(a.x, b.x)), ToDevice(std::min(a.y, b.y)),
                 ToDevice(std::max(a.x, b.x)), ToDevice(std::max(a.y, b.y)));
}

void MetafileCanvas::IntersectClipRect(double left, double top, double right, double bottom) {
    ClipTo(ClipRects(DeviceBox(left, top, right, bottom)), kRgnAnd);
}

void MetafileCanvas::ExcludeClipRect(double left, double top, double right, double bottom) {
    ClipTo(ClipRects(DeviceBox(left, top, right, bottom)), kRgnDiff);
}

void MetafileCanvas::SetDeviceClip(const std::vector<RECT>* rects, int mode) {
    if (!rects) {
        state_.clipped = false;
        ApplyClip();
        return;
    }
    ClipRects region;
    for (const RECT& r : *rects)
        region.Unite(ClipRects(OutputBox(r)));
    ClipTo(region, mode);
}
