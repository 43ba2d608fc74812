#pragma once
#include "platform/IDcBackEnd.h"
#include "platform/IPrintPageService.h"

#include <vector>

// Draws printer pages as vectors through the page contexts of a print service. Device pixels
// are the printer's; a one-pixel line is centred on its pixel so that vector and raster output
// line up. Lines that share a pen are collected into one path and stroked together.
class VectorBackEnd : public IDcBackEnd {
public:
    explicit VectorBackEnd(IPrintPageService& pages);
    ~VectorBackEnd() override;

    DeviceCaps Caps() const override;
    CRect Bounds() const override;
    void SetClip(const CRect& clip) override;

    void Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                const Background& bk) override;
    void FillPolygon(const std::vector<CPoint>& points, int fillMode, const DeviceBrush& brush,
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
    void Flush() override;

private:
    struct PenKey {
        DevicePen pen;
        Background bk;
        bool Same(const DevicePen& p, const Background& b) const;
    };

    // Sets up the page context in device pixels, clipped; nullptr outside a page.
    cairo_t* Begin();
    void End(cairo_t* cr);
    void ApplyPen(cairo_t* cr, const DevicePen& pen) const;

    IPrintPageService& pages_;
    CRect clip_;
    bool pending_ = false;
    PenKey pendingPen_;
};
