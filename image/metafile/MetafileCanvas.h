#pragma once
#include "image/metafile/ClipRects.h"
#include "image/metafile/MetafileMapping.h"
#include "image/metafile/MetafileMatrix.h"
#include "platform/CBrush.h"
#include "platform/CFont.h"
#include "platform/CPen.h"
#include "platform/CRect.h"
#include "platform/GdiConstants.h"
#include "platform/GdiStructs.h"
#include "platform/LOGFONT.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDC;
class CRaster;
class PolygonSpans;
class RasterSurface;

// The device context a metafile plays into, kept by the player itself: the metafile's
// objects, colours and modes, its mapping (mode, window, viewport, world transform), the saved
// states, a rectangular clip and the path being built. Drawing is mapped to output pixels in
// doubles and handed to a CDC in MM_TEXT; curves and turned shapes are flattened first.
class MetafileCanvas {
public:
    using Point = MetafileMatrix::Point;

    // A pattern brush's picture, repeated from the output's corner; top row first.
    struct Pattern {
        static constexpr LONG kMaxPatternSide = 256;
        LONG width = 0, height = 0;
        std::vector<std::uint32_t> pixels;
        std::uint32_t At(LONG x, LONG y) const {
            return pixels[std::size_t((y % height) * width + x % width)];
        }
        // Null when the picture is larger than kMaxPatternSide on a side.
        static std::shared_ptr<const Pattern> From(const CRaster& picture);
    };

    struct Object {
        enum class Kind { None, Pen, Brush, Font, Region, Other };
        Kind kind = Kind::None;
        LOGPEN pen;
        LOGBRUSH brush; // a pattern brush is solid in its average colour, besides its pattern
        std::shared_ptr<const Pattern> pattern;
        LOGFONT font;
        std::vector<RECT> region; // logical units
    };

    // `dc` draws into an output of width x height pixels.
    MetafileCanvas(CDC& dc, int width, int height);
    ~MetafileCanvas();
    MetafileCanvas(const MetafileCanvas&) = delete;
    MetafileCanvas& operator=(const MetafileCanvas&) = delete;

    // Drawing stops for good once about `pixels` have been painted (areas and line lengths as
    // drawn, clipped), so that a small file cannot make endless work.
    void SetWorkBudget(std::uint64_t pixels) { workLeft_ = pixels; }
    bool Exhausted() const { return exhausted_; }
    // Asked now and then while work is spent, inside long records too; true ends the play
    // for good as cancelled.
    void SetStop(std::function<bool()> stop) { stop_ = std::move(stop); }
    bool Cancelled() const { return cancelled_; }
    // Bytes a bitmap inside the metafile may hold once decoded, beside the output.
    void SetBitmapRoom(std::uint64_t bytes) { bitmapRoom_ = bytes; }
    // Charges a bitmap of width x height pixels before it is decoded: its pixels as work,
    // and `bytesPerPixel` bytes of each against the bitmap room. False ends the play; past
    // the room the refusal says why.
    bool ChargeBitmap(std::uint64_t width, std::uint64_t height, std::uint64_t bytesPerPixel);
    // Work besides drawing (a sample of a bitmap, a walk through its bytes).
    bool Charge(std::uint64_t pixels) { return Spend(pixels); }
    const std::string& Refusal() const { return refusal_; }

    // From reference-device units to output pixels.
    void SetOutput(const MetafileMatrix& output) { output_ = output; }
    MetafileMapping& Mapping() { return state_.mapping; }
    void SetWorldTransform(const MetafileMatrix& m) { state_.world = m; }
    // 1 identity, 2 `m` before the current transform, 3 after it, 4 replace.
    void ModifyWorldTransform(const MetafileMatrix& m, int mode);

    // ---- state ----
    void SaveDC();
    // A positive level restores that state, a negative one counts back from the last.
    void RestoreDC(int level);
    void SetBkMode(int mode) { state_.bkMode = mode; }
    void SetBkColor(COLORREF c) { state_.bkColor = c & 0xFFFFFF; }
    void SetTextColor(COLORREF c) { state_.textColor = c & 0xFFFFFF; }
    COLORREF TextColor() const { return state_.textColor; }
    COLORREF BkColor() const { return state_.bkColor; }
    void SetTextAlign(UINT align) { state_.textAlign = align; }
    void SetPolyFillMode(int mode) { state_.fillMode = mode == WINDING ? WINDING : ALTERNATE; }
    // How pens and brushes mix with what is there (1 black .. 13 copy .. 16 white).
    void SetRop2(int mode) {
        if (mode >= 1 && mode <= 16)
            state_.rop2 = mode;
    }
    void MoveTo(double x, double y);

    // ---- objects ----
    // Table slots are checked by the caller's index; out-of-range indices are ignored.
    void ResizeTable(std::size_t slots) { table_.assign(slots, Object{}); }
    std::size_t TableSize() const { return table_.size(); }
    // The lowest free slot, or TableSize() when all are taken.
    std::size_t FirstFree() const;
    bool Store(std::size_t index, const Object& object);
    void Select(std::size_t index);
    void Delete(std::size_t index);
    // The stock objects by their index (white brush 0 .. null pen 8, fonts 10..17).
    void SelectStock(DWORD index);

    // ---- clipping ----
    void IntersectClipRect(double left, double top, double right, double bottom);
    void ExcludeClipRect(double left, double top, double right, double bottom);
    // Region modes.
    static constexpr int kRgnAnd = 1, kRgnOr = 2, kRgnXor = 3, kRgnDiff = 4, kRgnCopy = 5;
    // A region of rectangles in reference-device units combined with the clip by `mode`;
    // null removes the clip.
    void SetDeviceClip(const std::vector<RECT>* rects, int mode = kRgnCopy);

    // ---- drawing, in logical units ----
    void LineTo(double x, double y);
    void Polyline(const std::vector<Point>& points);
    // From the current position through the points, which moves it.
    void PolylineTo(const std::vector<Point>& points);
    void Polygon(const std::vector<Point>& points);
    void PolyPolygon(const std::vector<Point>& points, const std::vector<DWORD>& counts);
    void PolyPolyline(const std::vector<Point>& points, const std::vector<DWORD>& counts);
    // Cubic Béziers: start, then three points a curve; PolyBezierTo starts at the position.
    void PolyBezier(const std::vector<Point>& points);
    void PolyBezierTo(const std::vector<Point>& points);
    void Rectangle(double left, double top, double right, double bottom);
    void RoundRect(double left, double top, double right, double bottom, double w, double h);
    void Ellipse(double left, double top, double right, double bottom);
    // The elliptic arc in the box from the radial through `start` to the radial through `end`,
    // counter-clockwise as seen; equal radials give the whole ellipse.
    enum class ArcKind { Arc, ArcTo, Pie, Chord };
    void Arc(ArcKind kind, double left, double top, double right, double bottom, Point start,
             Point end);
    // A line from the position to the circle's point at `start` degrees, then the arc through
    // `sweep` degrees (positive counter-clockwise); the position moves to its end.
    void AngleArc(Point centre, double radius, double start, double sweep);
    void SetPixel(double x, double y, COLORREF color);
    // Colours shaded between corners: across a rectangle (left to right, or top to bottom
    // when `vertical`) or over a triangle. Channels run 0..255.
    struct Shade {
        Point at;
        double red = 0, green = 0, blue = 0;
    };
    void GradientRect(const Shade& a, const Shade& b, bool vertical);
    void GradientTriangle(const Shade& a, const Shade& b, const Shade& c);
    // UTF-8 text at the reference point; an opaque rectangle is filled with the background
    // colour first.
    void Text(double x, double y, const std::string& text, const RECT* opaque = nullptr);
    // How a blit's picture meets what is there: by a ternary raster operation with the brush,
    // at a constant opacity (0..255), or everywhere but where it has a given colour.
    struct BlitMix {
        enum class Kind { Rop, Alpha, Transparent };
        Kind kind = Kind::Rop;
        DWORD value = SRCCOPY;
        // For Alpha: the picture's own opacity as grey, its colours premultiplied by it.
        const CRaster* opacity = nullptr;
    };
    // Draws `picture` into the logical rectangle (x, y, cx, cy), negative sizes mirroring it.
    void Blit(const CRaster& picture, double x, double y, double cx, double cy, BlitMix how);
    // A region of rectangles in reference-device units painted with the brush by PATCOPY, or
    // inverted by DSTINVERT.
    void FillRegion(const std::vector<RECT>& rects, DWORD rop);
    // Its edge, `w` by `h` logical units thick, painted with the brush.
    void FrameRegion(const std::vector<RECT>& rects, double w, double h);
    // The same for a region object of the table (logical units); framing paints the region's
    // edge, `w` by `h` logical units thick, with the brush. Selecting one as the clip replaces
    // the clip; any other index removes it.
    void FillRegionObject(std::size_t index, DWORD rop);
    void FrameRegionObject(std::size_t index, double w, double h);
    void SelectClipRegion(std::size_t index);
    // A ternary raster operation without a source over the logical rectangle.
    void PatBlt(double x, double y, double cx, double cy, DWORD rop);

    // ---- paths ----
    void BeginPath();
    void EndPath() { pathOpen_ = false; }
    void AbortPath();
    void CloseFigure();
    void FillPath(bool stroke);
    void StrokePath();
    void SelectClipPath();

private:
    struct Scratch;
    static constexpr std::size_t kLayers = 3;
    struct State {
        MetafileMapping mapping;
        MetafileMatrix world;
        LOGPEN pen;
        LOGBRUSH brush;
        std::shared_ptr<const Pattern> pattern;
        LOGFONT font;
        COLORREF textColor = 0;
        COLORREF bkColor = 0xFFFFFF;
        int bkMode = OPAQUE;
        UINT textAlign = 0;
        int fillMode = ALTERNATE;
        int rop2 = 13; // copy
        Point position;
        bool clipped = false;
        ClipRects clip; // output pixels
    };
    struct Figure {
        std::vector<POINT> points;
        bool closed = false;
    };

    MetafileMatrix Full() const;
    POINT Device(const Point& p, const MetafileMatrix& m) const;
    std::vector<POINT> Device(const std::vector<Point>& points) const;
    // A rectangle in reference-device units on the output.
    CRect OutputBox(const RECT& r) const;
    CRect DeviceBox(double left, double top, double right, double bottom) const;
    double Scale() const;
    // A pen of the current width in output pixels; `enabled` false gives the null pen.
    void SelectPen(bool enabled);
    void SelectBrush();
    void Stroke(const std::vector<POINT>& points, bool closed);
    void Fill(const std::vector<POINT>& points, const std::vector<int>& counts, bool outline);
    void FillSpans(const PolygonSpans& shape, const std::vector<POINT>& points,
                   const std::vector<int>& counts, bool outline);
    LONG PenReach() const;
    const std::vector<RECT>* RegionObject(std::size_t index) const;
    ClipRects DeviceRegion(const std::vector<RECT>& logical) const;
    void FrameDevice(const ClipRects& region, double w, double h);
    void FillDeviceRects(const std::vector<CRect>& rects, DWORD rop);
    void ShadeSpans(const std::vector<POINT>& corners,
                    const std::function<std::uint32_t(double x, double y)>& colour);
    bool AddToPath(const std::vector<POINT>& points, bool closed, bool continueFigure = false);
    // Clips the context to the clip's bounding box, or, while a region is painted piece by
    // piece, to the piece.
    void ApplyClip();
    CRect ClipBox() const { return piece_; }
    void ClipTo(const ClipRects& region, int mode);
    // Draws through each rectangle of the clip and through the mix mode; `box` holds every
    // pixel `draw` may paint.
    // What a drawing is made of: a filled shape with its outline (mixed by the mix mode, its
    // brush drawn as a pattern), a line (mixed), an area of the brush (as a pattern, not
    // mixed), or anything else (text, pictures, shading: neither).
    enum class Ink { Shape, Line, Brush, Plain };
    void Paint(const CRect& box, const std::function<void()>& draw, Ink ink = Ink::Shape);
    // Takes `pixels` from the budget; false (for good) when it runs out.
    bool Spend(std::uint64_t pixels);
    std::uint64_t AreaCost(const CRect& box) const;
    std::uint64_t StrokeCost(const std::vector<POINT>& points) const;
    // For each band of `area`, `draw` paints the scratch layers and `mix` (layer pixels, x, y,
    // output pixel) gives the output pixel.
    template <class Draw, class Mix>
    void ForEachBand(const CRect& area, RasterSurface& out, Draw draw, Mix mix);
    // Draws through the mix mode; `box` holds every pixel `draw` may paint.
    void Mixed(const CRect& box, const std::function<void()>& draw, Ink ink);
    void Ternary(const CRect& box, DWORD rop, const std::function<void()>& source);
    template <class Mix>
    void Combine(const CRect& box, const std::function<void()>* first,
                 const std::function<void()>* second, Mix mix);
    std::vector<Point> EllipsePoints(double l, double t, double r, double b) const;
    // Points of the ellipse (centre c, radii rx, ry) from angle a0 through `sweep` radians.
    std::vector<Point> ArcPoints(Point c, double rx, double ry, double a0, double sweep) const;

    CDC* dc_;  // the output, or a scratch picture while mixing
    CPen pen_; // what is selected into dc_, remade before each drawing
    CBrush brush_;
    CFont font_;
    CRect bounds_;
    MetafileMatrix output_;
    State state_;
    std::vector<State> saved_;
    std::vector<Object> table_;
    std::uint64_t workLeft_ = ~std::uint64_t{0};
    bool exhausted_ = false;
    std::function<bool()> stop_;
    std::uint64_t sincePoll_ = 0;
    bool cancelled_ = false;
    std::uint64_t bitmapRoom_ = ~std::uint64_t{0};
    std::string refusal_;
    bool mixing_ = false;
    std::optional<COLORREF> brushOverride_; // while mixing, the brush's one colour
    bool painting_ = false;
    CRect piece_; // what the context is clipped to
    bool pathOpen_ = false;
    std::vector<Figure> path_;
};
