#pragma once
#include "platform/CBrush.h"
#include "platform/CRgn.h"

#include <array>
#include <memory>

class CDC;

// One cell of a colour palette: a rectangle, or a hexagon of the colour wheel, that draws
// itself, draws the frame of the current cell and answers hit tests. A hexagon's hit test asks
// the same region scan that fills it, so the hexagon drawn is exactly the one hit.
class CFOColorCellObj {
public:
    CFOColorCellObj() = default;
    virtual ~CFOColorCellObj() = default;
    CFOColorCellObj(const CFOColorCellObj&) = delete;
    CFOColorCellObj& operator=(const CFOColorCellObj&) = delete;

    virtual bool HitTest(int x, int y) const;
    virtual void PrepareDC(CDC& dc);
    virtual void Draw(CDC& dc);
    virtual void DrawSelection(CDC& dc);
    virtual void RestoreDC(CDC& dc);
    // Makes the cell a hexagon c pixels wide and high centred on (x, y).
    virtual void SetHexagon(int x, int y, int size);

    COLORREF GetColor() const { return color_; }
    void SetColor(COLORREF color);
    void SetRect(const CRect& rect) { rect_ = rect; }
    void SetHexagonFlag(bool hexagon) { hexagon_ = hexagon; }
    bool IsHexagon() const { return hexagon_; }
    void SetInset(int inset) { inset_ = inset; }
    CBrush* GetBrush();
    CRect GetBoundRect() const;
    const std::array<POINT, 6>& Points() const { return points_; }

private:
    // The hexagon's region; built with the points so that hit tests do not rebuild it.
    const CRgn& Hexagon() const;

    CRect rect_;
    COLORREF color_ = RGB(255, 255, 255);
    std::unique_ptr<CBrush> brush_;
    int inset_ = 1;
    std::array<POINT, 6> points_{};
    bool hexagon_ = true;
    mutable CRgn region_;
    mutable bool regionStale_ = true;
};
