// The canvas a metafile player draws on: its transforms, saved states and object table.
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

MetafileCanvas::MetafileCanvas(CDC& dc, int width, int height)
    : dc_(&dc), bounds_(0, 0, width, height) {
    state_.pen = CPen::Stock(BLACK_PEN)->Log();
    state_.brush = CBrush::Stock(WHITE_BRUSH)->Log();
    state_.font = CFont::Stock(SYSTEM_FONT)->Log();
    dc_->SetMapMode(MM_TEXT);
    ApplyClip();
}

MetafileCanvas::~MetafileCanvas() {
    // The context outlives this canvas; leave it holding nothing of ours.
    dc_->SelectStockObject(BLACK_PEN);
    dc_->SelectStockObject(WHITE_BRUSH);
    dc_->SelectStockObject(SYSTEM_FONT);
}

void MetafileCanvas::ModifyWorldTransform(const MetafileMatrix& m, int mode) {
    switch (mode) {
    case 1:
        state_.world = MetafileMatrix{};
        break;
    case 2:
        state_.world = m.Then(state_.world);
        break;
    case 3:
        state_.world = state_.world.Then(m);
        break;
    case 4:
        state_.world = m;
        break;
    default:
        break;
    }
}

MetafileMatrix MetafileCanvas::Full() const {
    return state_.world.Then(state_.mapping.Matrix()).Then(output_);
}

POINT MetafileCanvas::Device(const Point& p, const MetafileMatrix& m) const {
    const Point d = m.Apply(p.x, p.y);
    return {ToDevice(d.x), ToDevice(d.y)};
}

std::vector<POINT> MetafileCanvas::Device(const std::vector<Point>& points) const {
    const MetafileMatrix m = Full();
    std::vector<POINT> out;
    out.reserve(points.size());
    for (const Point& p : points)
        out.push_back(Device(p, m));
    return out;
}

CRect MetafileCanvas::DeviceBox(double left, double top, double right, double bottom) const {
    const std::vector<POINT> c =
        Device({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
    CRect box(c[0].x, c[0].y, c[0].x, c[0].y);
    for (const POINT& p : c) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

// Lengths (pen widths, font heights) scale by the map's mean factor.
double MetafileCanvas::Scale() const {
    const MetafileMatrix m = Full();
    return std::sqrt(std::fabs(m.m11 * m.m22 - m.m12 * m.m21));
}

// ---- state --------------------------------------------------------------------------------

void MetafileCanvas::SaveDC() {
    if (saved_.size() < kMaxSavedStates)
        saved_.push_back(state_);
}

void MetafileCanvas::RestoreDC(int level) {
    const long long n = static_cast<long long>(saved_.size());
    const long long keep = level < 0 ? n + level : static_cast<long long>(level) - 1;
    if (keep < 0 || keep >= n)
        return;
    state_ = saved_[std::size_t(keep)];
    saved_.resize(std::size_t(keep));
    ApplyClip();
}

void MetafileCanvas::MoveTo(double x, double y) {
    state_.position = {x, y};
    if (pathOpen_)
        path_.push_back({{Device(state_.position, Full())}, false});
}

// ---- objects ------------------------------------------------------------------------------

std::size_t MetafileCanvas::FirstFree() const {
    for (std::size_t i = 0; i < table_.size(); ++i) {
        if (table_[i].kind == Object::Kind::None)
            return i;
    }
    return table_.size();
}

bool MetafileCanvas::Store(std::size_t index, const Object& object) {
    if (index >= table_.size())
        return false;
    table_[index] = object;
    return true;
}

void MetafileCanvas::Select(std::size_t index) {
    if (index >= table_.size())
        return;
    const Object& o = table_[index];
    switch (o.kind) {
    case Object::Kind::Pen:
        state_.pen = o.pen;
        break;
    case Object::Kind::Brush:
        state_.brush = o.brush;
        state_.pattern = o.pattern;
        break;
    case Object::Kind::Font:
        state_.font = o.font;
        break;
    default:
        break;
    }
}

void MetafileCanvas::Delete(std::size_t index) {
    if (index < table_.size())
        table_[index] = Object{};
}

void MetafileCanvas::SelectStock(DWORD index) {
    if (index <= NULL_BRUSH) {
        state_.brush = CBrush::Stock(int(index))->Log();
        state_.pattern.reset();
    } else if (index >= WHITE_PEN && index <= NULL_PEN) {
        state_.pen = CPen::Stock(int(index))->Log();
    } else if (index >= 10 && index <= 17) {
        const CFont* font = CFont::Stock(int(index));
        state_.font = (font ? font : CFont::Stock(SYSTEM_FONT))->Log();
    } else if (index == 18) { // DC_BRUSH: white until set
        state_.brush = CBrush::Stock(WHITE_BRUSH)->Log();
        state_.pattern.reset();
    } else if (index == 19) { // DC_PEN: black until set
        state_.pen = CPen::Stock(BLACK_PEN)->Log();
    }
}
