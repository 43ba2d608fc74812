// Regions and paths on the metafile canvas: filling, framing and clipping to them.
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

void MetafileCanvas::FillRegion(const std::vector<RECT>& rects, DWORD rop) {
    std::vector<CRect> device;
    for (const RECT& rect : rects)
        device.push_back(OutputBox(rect));
    FillDeviceRects(device, rop);
}

const std::vector<RECT>* MetafileCanvas::RegionObject(std::size_t index) const {
    if (index >= table_.size() || table_[index].kind != Object::Kind::Region)
        return nullptr;
    return &table_[index].region;
}

ClipRects MetafileCanvas::DeviceRegion(const std::vector<RECT>& logical) const {
    ClipRects region;
    for (const RECT& r : logical)
        region.Unite(ClipRects(DeviceBox(r.left, r.top, r.right, r.bottom)));
    return region;
}

void MetafileCanvas::FillRegionObject(std::size_t index, DWORD rop) {
    if (const std::vector<RECT>* rects = RegionObject(index))
        FillDeviceRects(DeviceRegion(*rects).Rects(), rop);
}

// The edge is the region less what stays inside it when every pixel outside it grows by
// the frame's size.
void MetafileCanvas::FrameRegionObject(std::size_t index, double w, double h) {
    if (const std::vector<RECT>* rects = RegionObject(index))
        FrameDevice(DeviceRegion(*rects), w, h);
}

void MetafileCanvas::FrameRegion(const std::vector<RECT>& rects, double w, double h) {
    ClipRects region;
    for (const RECT& r : rects)
        region.Unite(ClipRects(OutputBox(r)));
    FrameDevice(region, w, h);
}

void MetafileCanvas::FrameDevice(const ClipRects& region, double w, double h) {
    const CRect size = DeviceBox(0, 0, w, h);
    const LONG dx = std::max<LONG>(1, size.Width()), dy = std::max<LONG>(1, size.Height());
    const CRect box = region.Box();
    ClipRects outside(CRect(box.left - dx, box.top - dy, box.right + dx, box.bottom + dy));
    outside.Subtract(region);
    ClipRects reach;
    for (const CRect& r : outside.Rects())
        reach.Unite(ClipRects(CRect(r.left - dx, r.top - dy, r.right + dx, r.bottom + dy)));
    ClipRects edge = region;
    edge.Intersect(reach);
    FillDeviceRects(edge.Rects(), PATCOPY);
}

void MetafileCanvas::SelectClipRegion(std::size_t index) {
    if (const std::vector<RECT>* rects = RegionObject(index))
        ClipTo(DeviceRegion(*rects), kRgnCopy);
    else
        SetDeviceClip(nullptr);
}

// The brush by PATCOPY, or any other ternary operation without a source.
void MetafileCanvas::FillDeviceRects(const std::vector<CRect>& rects, DWORD rop) {
    for (const CRect& r : rects) {
        if (!Spend(AreaCost(r)))
            return;
        Paint(
            r,
            [&] {
                if (rop != PATCOPY) {
                    Ternary(r, rop, [] {});
                    return;
                }
                SelectBrush();
                dc_->SetBkMode(state_.bkMode);
                dc_->SetBkColor(state_.bkColor);
                dc_->FillRect(&r, &brush_);
            },
            Ink::Brush);
    }
}

void MetafileCanvas::PatBlt(double x, double y, double cx, double cy, DWORD rop) {
    FillDeviceRects({DeviceBox(x, y, x + cx, y + cy)}, rop);
}

// ---- paths --------------------------------------------------------------------------------

void MetafileCanvas::BeginPath() {
    path_.clear();
    pathOpen_ = true;
}

void MetafileCanvas::AbortPath() {
    path_.clear();
    pathOpen_ = false;
}

void MetafileCanvas::CloseFigure() {
    if (pathOpen_ && !path_.empty())
        path_.back().closed = true;
}

void MetafileCanvas::FillPath(bool stroke) {
    std::vector<POINT> all;
    std::vector<int> counts;
    for (const Figure& f : path_) {
        if (f.points.size() < 2)
            continue;
        all.insert(all.end(), f.points.begin(), f.points.end());
        counts.push_back(int(f.points.size()));
    }
    if (!counts.empty())
        Fill(all, counts, false);
    if (stroke)
        StrokePath();
    path_.clear();
}

void MetafileCanvas::StrokePath() {
    for (const Figure& f : path_)
        Stroke(f.points, f.closed);
    path_.clear();
}

void MetafileCanvas::SelectClipPath() {
    CRect box;
    bool any = false;
    for (const Figure& f : path_) {
        for (const POINT& p : f.points) {
            if (!any)
                box = CRect(p.x, p.y, p.x, p.y);
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x + 1);
            box.bottom = std::max(box.bottom, p.y + 1);
            any = true;
        }
    }
    path_.clear();
    if (any)
        ClipTo(ClipRects(box), kRgnAnd);
}
