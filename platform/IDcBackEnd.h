#pragma once
#include "platform/CRect.h"
#include "platform/DeviceCaps.h"
#include "platform/DeviceStyles.h"

#include <vector>

class RasterSurface;
class TextLayout;
struct LOGFONT;

// Text placed by a device context: the layout's top-left corner lies at (x + dx, y + dy) before
// the whole is turned by `angle` radians counter-clockwise (as seen) about (x, y).
struct TextPlacement {
    double x = 0, y = 0;
    double dx = 0, dy = 0;
    double angle = 0;
    COLORREF color = 0;
    Background background; // opaque: each line's box is painted first
    // The font as the program asked for it (its face before mapping to an installed one), for
    // back ends that record text rather than paint it.
    const LOGFONT* requested = nullptr;
};

// Where a device context's drawing goes. Everything is in device pixels, already mapped,
// clipped only by SetClip. Pixel (x, y) is the integer point (x, y).
class IDcBackEnd {
public:
    virtual ~IDcBackEnd() = default;

    virtual DeviceCaps Caps() const = 0;
    // The drawable area; the default clip.
    virtual CRect Bounds() const = 0;
    virtual void SetClip(const CRect& clip) = 0;

    // Lines through the points, each segment without its last pixel; closed adds the segment
    // back to the first point (so every vertex is drawn).
    virtual void Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                        const Background& bk) = 0;
    // Runs of lines with one pen: the first counts[0] points, then the next counts[1], and so
    // on. Each run is drawn as Stroke draws it alone; closed runs are first filled as
    // FillPolygon fills them, as one Polygon call per run would. Back ends without a quicker
    // way take this one, a Stroke (and FillPolygon) call per run.
    virtual void StrokeRuns(const std::vector<CPoint>& points, const std::vector<int>& counts,
                            bool closed, const DevicePen& pen, const DeviceBrush& brush,
                            int fillMode, const Background& bk);
    // The polygon's inside as PolygonEdgeTable decides it.
    virtual void FillPolygon(const std::vector<CPoint>& points, int fillMode,
                             const DeviceBrush& brush, const Background& bk) = 0;
    virtual void FillRect(const CRect& rect, const DeviceBrush& brush, const Background& bk) = 0;
    // The ellipse inscribed in box (right and bottom inclusive).
    virtual void Ellipse(const CRect& box, const DevicePen& pen, const DeviceBrush& brush,
                         const Background& bk) = 0;
    virtual void InvertRect(const CRect& rect) = 0;
    // Every other pixel of the rectangle's border, inverted.
    virtual void FocusRect(const CRect& rect) = 0;
    virtual void DrawText(const TextLayout& layout, const TextPlacement& where) = 0;
    virtual COLORREF GetPixel(CPoint p) = 0;
    virtual void SetPixel(CPoint p, COLORREF color) = 0;
    // Copies (scaling when the sizes differ) part of a raster surface.
    virtual void DrawSurface(RasterSurface& source, const CRect& from, const CRect& to) = 0;
    // Device pixels in one pixel of the device a stock font is measured on: a metafile's own
    // fonts are the reference screen's, whatever its resolution.
    virtual double StockFontScale() const { return 1.0; }
    // The pixels behind this back end, when it has any.
    virtual RasterSurface* Raster() { return nullptr; }
    // Completes queued drawing.
    virtual void Flush() {}
};
