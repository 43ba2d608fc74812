#pragma once
#include "platform/IDcBackEnd.h"
#include "platform/PixelLine.h"
#include "platform/RasterSurface.h"
#include "platform/ThickLine.h"

#include <cstdint>
#include <memory>

typedef struct _cairo cairo_t;

// Draws into a 32-bit raster surface. Fills, one-pixel lines and rectangles are written pixel
// by pixel so that they agree with region hit tests; ellipses and text go through Cairo with
// antialiasing off (text keeps grey-level smoothing).
class RasterBackEnd : public IDcBackEnd {
public:
    RasterBackEnd(std::shared_ptr<RasterSurface> surface, DeviceCaps caps);

    void SetSurface(std::shared_ptr<RasterSurface> surface);
    const std::shared_ptr<RasterSurface>& Surface() const { return surface_; }
    void SetResolution(int dpiX, int dpiY);

    DeviceCaps Caps() const override;
    CRect Bounds() const override { return surface_->Rect(); }
    void SetClip(const CRect& clip) override { clip_ = clip; }

    void Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                const Background& bk) override;
    void FillPolygon(const std::vector<CPoint>& points, int fillMode, const DeviceBrush& brush,
                     const Background& bk) override;
    // Open runs, and closed runs of two points (which enclose nothing to fill), are stroked
    // one after the other without a call or an allocation per run.
    void StrokeRuns(const std::vector<CPoint>& points, const std::vector<int>& counts, bool closed,
                    const DevicePen& pen, const DeviceBrush& brush, int fillMode,
                    const Background& bk) override;
    void FillRect(const CRect& rect, const DeviceBrush& brush, const Background& bk) override;
    void Ellipse(const CRect& box, const DevicePen& pen, const DeviceBrush& brush,
                 const Background& bk) override;
    void InvertRect(const CRect& rect) override;
    void FocusRect(const CRect& rect) override;
    void DrawText(const TextLayout& layout, const TextPlacement& where) override;
    COLORREF GetPixel(CPoint p) override;
    void SetPixel(CPoint p, COLORREF color) override;
    void DrawSurface(RasterSurface& source, const CRect& from, const CRect& to) override;
    RasterSurface* Raster() override { return surface_.get(); }
    void Flush() override { surface_->Pixels(); }

private:
    CRect Clip() const;
    // The surface's Cairo context with its state saved and the clip applied, or null when the
    // clip is empty; the caller restores the state.
    cairo_t* BeginClipped();
    PixelLine ThinLine(const DevicePen& pen, const Background& bk, const std::vector<int>& dashes);
    ThickLine WideLine(const DevicePen& pen);
    void StrokeThin(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                    const Background& bk);
    void StrokeWide(const std::vector<CPoint>& points, bool closed, const DevicePen& pen);
    void PaintSpan(std::uint32_t* row, int y, int x0, int x1, const DeviceBrush& brush,
                   const Background& bk);
    void InvertPixel(int x, int y);
    void CopyScaled(RasterSurface& source, const CRect& from, const CRect& to);

    std::shared_ptr<RasterSurface> surface_;
    DeviceCaps caps_;
    CRect clip_;
};
