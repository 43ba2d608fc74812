// Drawing on the metafile canvas: pens and brushes handed to the device context, lines,
// curves, shapes, gradients and pixels, each bounded in size and counted against the budget.
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
