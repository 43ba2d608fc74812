#include "image/metafile/MetafileCanvas.h"

#include "image/core/CRaster.h"
#include "image/metafile/ClipRects.h"
#include "image/core/PictureBudget.h"
#include "image/metafile/PolygonSpans.h"
#include "image/metafile/RasterMix.h"
#include "platform/CBitmap.h"
#include "platform/CBrush.h"
#include "platform/CDC.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/RasterSurface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Output coordinates are kept well inside what the device context accepts, whatever the
// metafile's numbers.
constexpr double kCoordinateLimit = 1 << 21;
constexpr std::size_t kMaxSavedStates = 4096;
constexpr int kMaxCurveSegments = 64;
constexpr int kMaxEllipseSegments = 256;
constexpr double kMaxPenWidth = 4000;
constexpr double kMaxFontHeight = 4000;
// A font of height 0 is drawn at the device's default of 12 points at 96 dots per inch.
constexpr double kDefaultFontPixels = 16;
// Laying out a character costs about this much however small it is drawn.
constexpr double kLeastGlyphCost = 16 * 16;

// The stop is asked after about this much work, counting each call as kCallCost pixels.
constexpr std::uint64_t kPollEvery = 1 << 20;
constexpr std::uint64_t kCallCost = 1024;

LONG ToDevice(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<LONG>(std::lround(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)));
}

// A length in output pixels within 0..most; what overflowed to infinity or NaN counts as most.
double Bounded(double v, double most) {
    return std::isfinite(v) ? std::clamp(v, 0.0, most) : most;
}

// Segments for a curve spanning `length` output pixels: one per four pixels, bounded.
int Segments(double length, int most) {
    if (!std::isfinite(length))
        return most;
    return static_cast<int>(std::clamp(length / 4, 4.0, double(most)));
}

double Distance(const MetafileMatrix::Point& a, const MetafileMatrix::Point& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// A crossing of a row and an edge costs as much as painting this many pixels: finding it,
// and painting a span that may be short.
constexpr std::uint64_t kCrossingCost = 16;

// Mixing draws into scratch pictures a band at a time, each at most this many pixels.
constexpr LONG kBandPixels = 1 << 19;

CRect Grown(const CRect& box, LONG by) {
    return CRect(box.left - by, box.top - by, box.right + by, box.bottom + by);
}

CRect PointsBox(const std::vector<POINT>& points) {
    CRect box(points[0].x, points[0].y, points[0].x + 1, points[0].y + 1);
    for (const POINT& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x + 1);
        box.bottom = std::max(box.bottom, p.y + 1);
    }
    return box;
}

} // namespace

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

// One band of the output, drawn into through a context that maps output pixels onto it.
struct MetafileCanvas::Scratch {
    CBitmap bitmap;
    CDC dc;
    bool Make(LONG width, LONG height) {
        return bitmap.CreateBitmap32(width, height) && dc.CreateCompatibleDC(nullptr) &&
               dc.SelectObject(&bitmap) != nullptr;
    }
    void Place(const CRect& band, COLORREF fill) {
        dc.SetViewportOrg(-band.left, -band.top);
        dc.SelectClipRgn(nullptr);
        dc.IntersectClipRect(band.left, band.top, band.right, band.bottom);
        dc.FillSolidRect(&band, fill);
    }
    // Row y of the band.
    const std::uint32_t* Row(LONG y) { return bitmap.Surface()->Row(y); }
};

std::shared_ptr<const MetafileCanvas::Pattern>
MetafileCanvas::Pattern::From(const CRaster& picture) {
    const LONG w = LONG(picture.GetWidth()), h = LONG(picture.GetHeight());
    if (w < 1 || h < 1 || w > kMaxPatternSide || h > kMaxPatternSide)
        return nullptr;
    auto p = std::make_shared<Pattern>();
    p->width = w;
    p->height = h;
    for (LONG y = 0; y < h; ++y) {
        for (LONG x = 0; x < w; ++x) {
            const RGBQUAD c = picture.GetPixelColor(x, h - 1 - y, false);
            p->pixels.push_back(RasterSurface::ToPixel(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)));
        }
    }
    return p;
}

// ---- raster operations ----------------------------------------------------------------------

// For each band of the area, `draw` paints the two scratch pictures and `mix` sets each output
// pixel from theirs. Bands start on the 8-pixel grid, so that hatches keep their phase.
template <class Draw, class Mix>
void MetafileCanvas::ForEachBand(const CRect& area, RasterSurface& out, Draw draw, Mix mix) {
    const LONG left = area.left & ~7, width = area.right - left;
    const LONG rows = std::max<LONG>(8, (kBandPixels / width) & ~7);
    std::array<Scratch, kLayers> scratch;
    for (Scratch& layer : scratch) {
        if (!layer.Make(width, rows))
            return;
    }
    CDC* const output = dc_;
    for (LONG top = area.top & ~7; top < area.bottom; top += rows) {
        const CRect band(left, top, area.right, std::min(top + rows, area.bottom));
        draw(band, scratch);
        dc_ = output;
        for (LONG y = std::max(band.top, area.top); y < band.bottom; ++y) {
            std::array<const std::uint32_t*, kLayers> row;
            for (std::size_t i = 0; i < kLayers; ++i)
                row[i] = scratch[i].Row(y - band.top) - band.left;
            std::uint32_t* d = out.Row(y);
            for (LONG x = std::max(band.left, area.left); x < band.right; ++x)
                d[x] = mix({row[0][x], row[1][x], row[2][x]}, x, y, d[x]);
        }
    }
    out.MarkDirty();
}

// Under a mix mode other than copy, or with a pattern brush, `draw` runs into scratch pictures
// for each band: cleared black with a black brush, cleared white with a white brush, and
// cleared black with a white brush. Where the first two agree the pen drew that colour; where
// the first and last differ the brush painted, in the pattern. What was drawn is then mixed
// into the output by the mode.
void MetafileCanvas::Mixed(const CRect& box, const std::function<void()>& draw, Ink ink) {
    RasterSurface* out = dc_->BackEnd() ? dc_->BackEnd()->Raster() : nullptr;
    const bool patterned = ink == Ink::Shape || ink == Ink::Brush;
    const Pattern* pattern = patterned ? state_.pattern.get() : nullptr;
    const bool mixes = ink == Ink::Shape || ink == Ink::Line;
    const int mode = mixes ? state_.rop2 : RasterMix::kCopyPen;
    CRect area;
    if ((mode == RasterMix::kCopyPen && !pattern) || mixing_ || !out) {
        draw();
        return;
    }
    if (!area.IntersectRect(box, ClipBox()) || !Spend(3 * AreaCost(area)))
        return;
    mixing_ = true;
    constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
    ForEachBand(
        area, *out,
        [&](const CRect& band, std::array<Scratch, kLayers>& ink) {
            const COLORREF clear[kLayers] = {kBlack, kWhite, kBlack};
            const COLORREF paint[kLayers] = {kBlack, kWhite, kWhite};
            for (std::size_t i = 0; i < (pattern ? kLayers : 2); ++i) {
                ink[i].Place(band, clear[i]);
                dc_ = &ink[i].dc;
                if (pattern)
                    brushOverride_ = paint[i];
                draw();
            }
            brushOverride_.reset();
        },
        [mode, pattern](const std::array<std::uint32_t, kLayers>& px, LONG x, LONG y,
                        std::uint32_t d) {
            if (pattern && ((px[0] ^ px[2]) & 0xFFFFFF) != 0)
                return RasterMix::Binary(mode, pattern->At(x, y), d);
            return ((px[0] ^ px[1]) & 0xFFFFFF) == 0 ? RasterMix::Binary(mode, px[0], d) : d;
        });
    mixing_ = false;
}

// Pattern (the brush), source (what `source` draws, when the operation reads it) and the
// output combined by the operation's table over the box.
void MetafileCanvas::Ternary(const CRect& box, DWORD rop, const std::function<void()>& source) {
    const unsigned table = RasterMix::TernaryTable(rop);
    const std::function<void()> brush = [&] {
        SelectBrush();
        dc_->SetBkMode(state_.bkMode);
        dc_->SetBkColor(state_.bkColor);
        dc_->FillRect(&bounds_, &brush_);
    };
    const bool brushed = RasterMix::UsesPattern(table) && !state_.pattern;
    Combine(box, brushed ? &brush : nullptr, RasterMix::UsesSource(table) ? &source : nullptr,
            [table, pattern = state_.pattern.get()](std::uint32_t pat, std::uint32_t src, LONG x,
                                                    LONG y, std::uint32_t d) {
                return RasterMix::Ternary(table, pattern ? pattern->At(x, y) : pat, src, d);
            });
}

// What `first` draws on black in the first layer and `second` on white in the second (each
// when given), then `mix` (first, second, x, y, output) for each pixel of the box.
template <class Mix>
void MetafileCanvas::Combine(const CRect& box, const std::function<void()>* first,
                             const std::function<void()>* second, Mix mix) {
    RasterSurface* out = dc_->BackEnd() ? dc_->BackEnd()->Raster() : nullptr;
    CRect area;
    if (!out || !area.IntersectRect(box, ClipBox()) || !Spend(2 * AreaCost(area)))
        return;
    ForEachBand(
        area, *out,
        [&](const CRect& band, std::array<Scratch, kLayers>& layer) {
            if (first) {
                layer[0].Place(band, RGB(0, 0, 0));
                dc_ = &layer[0].dc;
                (*first)();
            }
            if (second) {
                layer[1].Place(band, RGB(255, 255, 255));
                dc_ = &layer[1].dc;
                (*second)();
            }
        },
        [&mix](const std::array<std::uint32_t, kLayers>& px, LONG x, LONG y, std::uint32_t d) {
            return mix(px[0], px[1], x, y, d);
        });
}

// ---- output to the device context -----------------------------------------------------------

void MetafileCanvas::SelectPen(bool enabled) {
    const double width = Bounded(state_.pen.lopnWidth.x * Scale(), kMaxPenWidth);
    int style = enabled ? int(state_.pen.lopnStyle & PS_STYLE_MASK) : PS_NULL;
    if (style > PS_NULL)
        style = PS_SOLID; // inside-frame and the rest draw as solid lines
    const int pixels = std::max(1, int(std::lround(width)));
    if ((state_.pen.lopnStyle & PS_GEOMETRIC) && style != PS_NULL) {
        const LOGBRUSH ink{BS_SOLID, state_.pen.lopnColor, 0};
        pen_.CreatePen(style | PS_GEOMETRIC, pixels, &ink);
    } else {
        pen_.CreatePen(style, pixels, state_.pen.lopnColor);
    }
    dc_->SelectObject(&pen_);
    dc_->SetBkMode(state_.bkMode);
    dc_->SetBkColor(state_.bkColor);
}

void MetafileCanvas::SelectBrush() {
    LOGBRUSH log = state_.brush;
    if (brushOverride_)
        log = {BS_SOLID, *brushOverride_, 0};
    brush_.CreateBrushIndirect(&log);
    dc_->SelectObject(&brush_);
}

void MetafileCanvas::Stroke(const std::vector<POINT>& points, bool closed) {
    if (points.size() < 2 || (state_.pen.lopnStyle & PS_STYLE_MASK) == PS_NULL)
        return;
    if (!Spend(StrokeCost(points) + (closed ? StrokeCost({points.back(), points.front()}) : 0)))
        return;
    Paint(
        Grown(PointsBox(points), PenReach()),
        [&] {
            SelectPen(true);
            if (closed) {
                dc_->SelectStockObject(NULL_BRUSH);
                dc_->Polygon(points.data(), int(points.size()));
            } else {
                dc_->Polyline(points.data(), int(points.size()));
            }
        },
        Ink::Line);
}

// How far past its points a line of the current pen may paint.
LONG MetafileCanvas::PenReach() const {
    return LONG(Bounded(state_.pen.lopnWidth.x * Scale(), kMaxPenWidth) / 2) + 2;
}

// Filled through PolygonSpans, which stays fast for outlines of a million edges; rows with the
// same spans go to the context as one rectangle each.
void MetafileCanvas::Fill(const std::vector<POINT>& points, const std::vector<int>& counts,
                          bool outline) {
    const PolygonSpans shape(points, counts, state_.fillMode);
    if (points.empty())
        return;
    Paint(Grown(PointsBox(points), PenReach()), [&] { FillSpans(shape, points, counts, outline); });
}

void MetafileCanvas::FillSpans(const PolygonSpans& shape, const std::vector<POINT>& points,
                               const std::vector<int>& counts, bool outline) {
    if (state_.brush.lbStyle != BS_NULL && !shape.Bounds().IsRectEmpty() &&
        Spend(AreaCost(shape.Bounds()) + kCrossingCost * shape.Crossings(ClipBox()))) {
        SelectBrush();
        dc_->SetBkMode(state_.bkMode);
        dc_->SetBkColor(state_.bkColor);
        std::vector<PolygonSpans::Span> last;
        LONG from = 0, to = 0;
        auto flush = [&] {
            for (const PolygonSpans::Span& s : last) {
                const CRect r(s.x0, from, s.x1, to);
                dc_->FillRect(&r, &brush_);
            }
        };
        shape.Scan(ClipBox(), [&](LONG y, const std::vector<PolygonSpans::Span>& spans) {
            const bool same = y == to && spans.size() == last.size() &&
                              std::equal(spans.begin(), spans.end(), last.begin(),
                                         [](const auto& a, const auto& b) {
                                             return a.x0 == b.x0 && a.x1 == b.x1;
                                         });
            if (!same) {
                flush();
                last = spans;
                from = y;
            }
            to = y + 1;
        });
        flush();
    }
    if (!outline)
        return;
    std::size_t at = 0;
    for (int count : counts) {
        Stroke(std::vector<POINT>(points.begin() + long(at), points.begin() + long(at + count)),
               true);
        at += std::size_t(count);
    }
}

bool MetafileCanvas::AddToPath(const std::vector<POINT>& points, bool closed, bool continueFigure) {
    if (!pathOpen_)
        return false;
    if (continueFigure && !path_.empty() && !path_.back().closed) {
        path_.back().points.insert(path_.back().points.end(), points.begin(), points.end());
    } else {
        path_.push_back({points, closed});
    }
    return true;
}

// ---- drawing ------------------------------------------------------------------------------

void MetafileCanvas::LineTo(double x, double y) {
    PolylineTo({{x, y}});
}

void MetafileCanvas::Polyline(const std::vector<Point>& points) {
    const std::vector<POINT> d = Device(points);
    if (!AddToPath(d, false))
        Stroke(d, false);
}

void MetafileCanvas::PolylineTo(const std::vector<Point>& points) {
    if (points.empty())
        return;
    std::vector<Point> all{state_.position};
    all.insert(all.end(), points.begin(), points.end());
    state_.position = points.back();
    const std::vector<POINT> d = Device(all);
    if (pathOpen_) {
        const bool open = !path_.empty() && !path_.back().closed;
        AddToPath(open ? std::vector<POINT>(d.begin() + 1, d.end()) : d, false, open);
        return;
    }
    Stroke(d, false);
}

void MetafileCanvas::Polygon(const std::vector<Point>& points) {
    const std::vector<POINT> d = Device(points);
    if (d.size() < 2 || AddToPath(d, true))
        return;
    Fill(d, {int(d.size())}, true);
}

void MetafileCanvas::PolyPolygon(const std::vector<Point>& points,
                                 const std::vector<DWORD>& counts) {
    const std::vector<POINT> d = Device(points);
    std::vector<int> sizes;
    std::size_t at = 0;
    for (DWORD c : counts) {
        if (c > d.size() - at)
            return;
        if (pathOpen_)
            AddToPath(std::vector<POINT>(d.begin() + long(at), d.begin() + long(at + c)), true);
        sizes.push_back(int(c));
        at += c;
    }
    if (!pathOpen_ && !sizes.empty())
        Fill(d, sizes, true);
}

void MetafileCanvas::PolyPolyline(const std::vector<Point>& points,
                                  const std::vector<DWORD>& counts) {
    std::size_t at = 0;
    for (DWORD c : counts) {
        if (c > points.size() - at)
            return;
        Polyline(std::vector<Point>(points.begin() + long(at), points.begin() + long(at + c)));
        at += c;
    }
}

void MetafileCanvas::PolyBezier(const std::vector<Point>& points) {
    if (points.empty())
        return;
    const MetafileMatrix m = Full();
    std::vector<Point> flat{points[0]};
    for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
        const Point p0 = flat.back(), p1 = points[i], p2 = points[i + 1], p3 = points[i + 2];
        const double length = Distance(m.Apply(p0.x, p0.y), m.Apply(p1.x, p1.y)) +
                              Distance(m.Apply(p1.x, p1.y), m.Apply(p2.x, p2.y)) +
                              Distance(m.Apply(p2.x, p2.y), m.Apply(p3.x, p3.y));
        const int n = Segments(length, kMaxCurveSegments);
        for (int k = 1; k <= n; ++k) {
            const double t = double(k) / n, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
            flat.push_back({a * p0.x + b * p1.x + c * p2.x + e * p3.x,
                            a * p0.y + b * p1.y + c * p2.y + e * p3.y});
        }
    }
    Polyline(flat);
}

void MetafileCanvas::PolyBezierTo(const std::vector<Point>& points) {
    if (points.size() < 3)
        return;
    std::vector<Point> all{state_.position};
    all.insert(all.end(), points.begin(), points.end());
    const bool wasOpen = pathOpen_ && !path_.empty() && !path_.back().closed;
    if (wasOpen) {
        // Flatten through a temporary figure, then join it to the open one.
        std::vector<Figure> keep;
        keep.swap(path_);
        PolyBezier(all);
        Figure flat = path_.empty() ? Figure{} : path_.back();
        path_.swap(keep);
        if (!flat.points.empty())
            path_.back().points.insert(path_.back().points.end(), flat.points.begin() + 1,
                                       flat.points.end());
    } else {
        PolyBezier(all);
    }
    state_.position = points[points.size() / 3 * 3 - 1];
}

void MetafileCanvas::Rectangle(double left, double top, double right, double bottom) {
    if (!Full().KeepsAxes() || pathOpen_) {
        Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
        return;
    }
    const CRect r = DeviceBox(left, top, right, bottom);
    if (!Spend(AreaCost(r)))
        return;
    Paint(Grown(r, PenReach()), [&] {
        SelectBrush();
        SelectPen(true);
        dc_->SetBkMode(state_.bkMode);
        dc_->SetBkColor(state_.bkColor);
        dc_->Rectangle(r.left, r.top, r.right, r.bottom);
    });
}

std::vector<MetafileCanvas::Point> MetafileCanvas::EllipsePoints(double l, double t, double r,
                                                                 double b) const {
    const MetafileMatrix m = Full();
    const double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
    const Point c = m.Apply(cx, cy);
    const double around =
        2 * std::numbers::pi *
        std::max(Distance(c, m.Apply(cx + rx, cy)), Distance(c, m.Apply(cx, cy + ry)));
    const int n = Segments(around, kMaxEllipseSegments);
    std::vector<Point> pts;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * std::numbers::pi * k / n;
        pts.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return pts;
}

void MetafileCanvas::Ellipse(double left, double top, double right, double bottom) {
    if (!Full().KeepsAxes() || pathOpen_) {
        Polygon(EllipsePoints(left, top, right, bottom));
        return;
    }
    const CRect r = DeviceBox(left, top, right, bottom);
    if (!Spend(AreaCost(r)))
        return;
    Paint(Grown(r, PenReach()), [&] {
        SelectBrush();
        SelectPen(true);
        dc_->Ellipse(r.left, r.top, r.right, r.bottom);
    });
}

void MetafileCanvas::RoundRect(double left, double top, double right, double bottom, double w,
                               double h) {
    const double rx = std::min(std::fabs(w) / 2, std::fabs(right - left) / 2);
    const double ry = std::min(std::fabs(h) / 2, std::fabs(bottom - top) / 2);
    if (rx <= 0 || ry <= 0) {
        Rectangle(left, top, right, bottom);
        return;
    }
    const double l = std::min(left, right), r = std::max(left, right);
    const double t = std::min(top, bottom), b = std::max(top, bottom);
    const double centres[4][2] = {
        {r - rx, t + ry}, {l + rx, t + ry}, {l + rx, b - ry}, {r - rx, b - ry}};
    std::vector<Point> pts;
    constexpr int kPerCorner = 8;
    for (int corner = 0; corner < 4; ++corner) {
        for (int k = 0; k <= kPerCorner; ++k) {
            const double a = std::numbers::pi / 2 * (corner + double(k) / kPerCorner);
            pts.push_back(
                {centres[corner][0] + rx * std::cos(a), centres[corner][1] - ry * std::sin(a)});
        }
    }
    Polygon(pts);
}

std::vector<MetafileCanvas::Point> MetafileCanvas::ArcPoints(Point c, double rx, double ry,
                                                             double a0, double sweep) const {
    const MetafileMatrix m = Full();
    const Point d = m.Apply(c.x, c.y);
    const double radius =
        std::max(Distance(d, m.Apply(c.x + rx, c.y)), Distance(d, m.Apply(c.x, c.y + ry)));
    const int n = std::max(1, int(Segments(radius * std::fabs(sweep), kMaxEllipseSegments)));
    std::vector<Point> pts;
    for (int k = 0; k <= n; ++k) {
        const double a = a0 + sweep * k / n;
        pts.push_back({c.x + rx * std::cos(a), c.y + ry * std::sin(a)});
    }
    return pts;
}

void MetafileCanvas::Arc(ArcKind kind, double left, double top, double right, double bottom,
                         Point start, Point end) {
    const Point c{(left + right) / 2, (top + bottom) / 2};
    const double rx = std::fabs(right - left) / 2, ry = std::fabs(bottom - top) / 2;
    if (!(rx > 0) || !(ry > 0) || !std::isfinite(rx * ry))
        return;
    const double a0 = std::atan2((start.y - c.y) / ry, (start.x - c.x) / rx);
    const double a1 = std::atan2((end.y - c.y) / ry, (end.x - c.x) / rx);
    // Counter-clockwise on the output: toward smaller angles unless the mapping mirrors.
    const MetafileMatrix m = Full();
    const bool mirrored = m.m11 * m.m22 - m.m12 * m.m21 < 0;
    double sweep = mirrored ? a1 - a0 : a0 - a1;
    constexpr double kTurn = 2 * std::numbers::pi;
    sweep = std::fmod(std::fmod(sweep, kTurn) + kTurn, kTurn);
    if (sweep < 1e-9)
        sweep = kTurn;
    std::vector<Point> pts = ArcPoints(c, rx, ry, a0, mirrored ? sweep : -sweep);
    switch (kind) {
    case ArcKind::Arc:
        Polyline(pts);
        break;
    case ArcKind::ArcTo:
        PolylineTo(pts);
        break;
    case ArcKind::Pie:
        pts.insert(pts.begin(), c);
        Polygon(pts);
        break;
    case ArcKind::Chord:
        Polygon(pts);
        break;
    }
}

void MetafileCanvas::AngleArc(Point centre, double radius, double start, double sweep) {
    if (!std::isfinite(radius) || !std::isfinite(start) || !std::isfinite(sweep))
        return;
    constexpr double kDegree = std::numbers::pi / 180;
    // Angles count counter-clockwise with y growing downward.
    PolylineTo(ArcPoints(centre, radius, -radius, start * kDegree,
                         std::clamp(sweep, -3600.0, 3600.0) * kDegree));
}

namespace {

std::uint32_t ShadePixel(double red, double green, double blue) {
    auto channel = [](double v) { return std::uint32_t(std::clamp(std::lround(v), 0L, 255L)); };
    return 0xFF000000u | channel(red) << 16 | channel(green) << 8 | channel(blue);
}

} // namespace

// Shaded pixels are written straight into the context's pixels, within its clip.
void MetafileCanvas::ShadeSpans(const std::vector<POINT>& corners,
                                const std::function<std::uint32_t(double x, double y)>& colour) {
    const PolygonSpans shape(corners, {int(corners.size())}, ALTERNATE);
    if (shape.Bounds().IsRectEmpty() || !Spend(AreaCost(shape.Bounds())))
        return;
    Paint(
        shape.Bounds(),
        [&] {
            RasterSurface* surface = dc_->BackEnd() ? dc_->BackEnd()->Raster() : nullptr;
            if (!surface)
                return;
            POINT origin{0, 0};
            dc_->LPtoDP(&origin);
            CRect clip = dc_->GetDeviceClipBox();
            clip.OffsetRect(-origin.x, -origin.y); // in our pixels
            shape.Scan(clip, [&](LONG y, const std::vector<PolygonSpans::Span>& spans) {
                std::uint32_t* row = surface->Row(y + origin.y) + origin.x;
                for (const PolygonSpans::Span& span : spans) {
                    for (LONG x = span.x0; x < span.x1; ++x)
                        row[x] = colour(x, y);
                }
            });
            surface->MarkDirty();
        },
        Ink::Plain);
}

void MetafileCanvas::GradientRect(const Shade& a, const Shade& b, bool vertical) {
    const MetafileMatrix m = Full();
    const Point p = m.Apply(a.at.x, a.at.y), q = m.Apply(b.at.x, b.at.y);
    const CRect box = DeviceBox(a.at.x, a.at.y, b.at.x, b.at.y);
    // From a's side to b's, along the axis, whichever way round they lie on the output.
    const double from = vertical ? p.y : p.x, to = vertical ? q.y : q.x;
    const double length = to - from;
    ShadeSpans({{box.left, box.top},
                {box.right, box.top},
                {box.right, box.bottom},
                {box.left, box.bottom}},
               [&](double x, double y) {
                   const double t =
                       std::abs(length) < 1e-9
                           ? 0
                           : std::clamp(((vertical ? y : x) - from) / length, 0.0, 1.0);
                   return ShadePixel(a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
                                     a.blue + (b.blue - a.blue) * t);
               });
}

void MetafileCanvas::GradientTriangle(const Shade& a, const Shade& b, const Shade& c) {
    const MetafileMatrix m = Full();
    const Point p = m.Apply(a.at.x, a.at.y), q = m.Apply(b.at.x, b.at.y);
    const Point r = m.Apply(c.at.x, c.at.y);
    const double area = (q.x - p.x) * (r.y - p.y) - (r.x - p.x) * (q.y - p.y);
    if (!std::isfinite(area) || std::fabs(area) < 1e-9)
        return;
    ShadeSpans(Device({a.at, b.at, c.at}), [&](double x, double y) {
        // Barycentric weights of the pixel's centre.
        const double wb = ((x - p.x) * (r.y - p.y) - (r.x - p.x) * (y - p.y)) / area;
        const double wc = ((q.x - p.x) * (y - p.y) - (x - p.x) * (q.y - p.y)) / area;
        const double wa = 1 - wb - wc;
        return ShadePixel(wa * a.red + wb * b.red + wc * c.red,
                          wa * a.green + wb * b.green + wc * c.green,
                          wa * a.blue + wb * b.blue + wc * c.blue);
    });
}

void MetafileCanvas::SetPixel(double x, double y, COLORREF color) {
    const POINT p = Device({x, y}, Full());
    if (!Spend(1))
        return;
    Paint(
        CRect(p.x, p.y, p.x + 1, p.y + 1), [&] { dc_->SetPixel(p.x, p.y, color & 0xFFFFFF); },
        Ink::Plain);
}

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

void MetafileCanvas::Blit(const CRaster& picture, double x, double y, double cx, double cy,
                          BlitMix how) {
    const MetafileMatrix m = Full();
    const Point a = m.Apply(x, y), b = m.Apply(x + cx, y + cy);
    const LONG x0 = ToDevice(a.x), y0 = ToDevice(a.y), x1 = ToDevice(b.x), y1 = ToDevice(b.y);
    if (x0 == x1 || y0 == y1)
        return;
    const CRect to(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
    if (!Spend(AreaCost(to) + std::uint64_t(picture.GetWidth()) * picture.GetHeight()))
        return;
    // Copies only when mirrored, so that a large picture is held once.
    const bool turned = x1 < x0 || y1 < y0;
    CRaster turnedPicture, opacity;
    if (turned)
        turnedPicture = picture;
    const CRaster& placed = turned ? turnedPicture : picture;
    if (how.opacity)
        opacity = *how.opacity;
    for (CRaster* p : {&turnedPicture, &opacity}) {
        if (x1 < x0)
            p->Mirror();
        if (y1 < y0)
            p->Flip();
    }
    Paint(
        to,
        [&] {
            const CRect clip = ClipBox();
            const std::function<void()> draw = [&] {
                placed.Draw(*dc_, to.left, to.top, to.Width(), to.Height(), &clip);
            };
            const DWORD value = how.value;
            switch (how.kind) {
            case BlitMix::Kind::Rop:
                if (value == SRCCOPY)
                    draw();
                else
                    Ternary(to, value, draw);
                break;
            case BlitMix::Kind::Alpha: {
                // The picture's colours come premultiplied by its own opacity, when it has one.
                const bool own = how.opacity != nullptr;
                const std::function<void()> alpha = [&] {
                    opacity.Draw(*dc_, to.left, to.top, to.Width(), to.Height(), &clip);
                };
                Combine(
                    to, own ? &alpha : nullptr, &draw,
                    [value, own](std::uint32_t a, std::uint32_t src, LONG, LONG, std::uint32_t d) {
                        const std::uint32_t cover = own ? (a & 0xFF) * value / 255 : value;
                        std::uint32_t r = 0xFF000000u;
                        for (int shift = 0; shift < 24; shift += 8) {
                            const std::uint32_t s = (src >> shift) & 0xFF, b = (d >> shift) & 0xFF;
                            r |= std::min<std::uint32_t>(
                                     255, (s * value + b * (255 - cover) + 127) / 255)
                                 << shift;
                        }
                        return r;
                    });
                break;
            }
            case BlitMix::Kind::Transparent:
                Combine(to, nullptr, &draw,
                        [value](std::uint32_t, std::uint32_t src, LONG, LONG, std::uint32_t d) {
                            return RasterSurface::ToColor(src) == (value & 0xFFFFFF) ? d : src;
                        });
                break;
            }
        },
        Ink::Plain);
}

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
