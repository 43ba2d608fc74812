#pragma once
#include "platform/CBrush.h"
#include "platform/CRect.h"

#include <memory>

class CDC;

// One entry of the line-type picker: a rectangle showing a three-pixel line in one of the
// five pen styles.
class CFOLineTypeCellObj {
public:
    CFOLineTypeCellObj() = default;
    virtual ~CFOLineTypeCellObj() = default;
    CFOLineTypeCellObj(const CFOLineTypeCellObj&) = delete;
    CFOLineTypeCellObj& operator=(const CFOLineTypeCellObj&) = delete;

    virtual bool HitTest(int x, int y) const { return bounds_.PtInRect({x, y}); }
    virtual void PrepareDC(CDC& dc);
    virtual void Draw(CDC& dc);
    virtual void DrawSelected(CDC& dc);
    virtual void RestoreDC(CDC& dc);

    int GetLineType() const { return lineType_; }
    void SetLineType(int type) { lineType_ = type; }
    void SetBrushColor(COLORREF color);
    const CRect& GetBounds() const { return bounds_; }
    void SetBounds(const CRect& bounds) { bounds_ = bounds; }
    void SetMargin(int margin) { margin_ = margin; }

private:
    CBrush* Brush();

    CRect bounds_;
    COLORREF brushColor_ = 0;
    int lineType_ = 0;
    std::unique_ptr<CBrush> brush_;
    int margin_ = 1;
};
