#include "controls/CFOLineTypeCellObj.h"

#include "controls/CFOGlobalData.h"
#include "platform/CDC.h"

void CFOLineTypeCellObj::PrepareDC(CDC& dc) {
    dc.SaveDC();
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(Brush());
}

void CFOLineTypeCellObj::Draw(CDC& dc) {
    PrepareDC(dc);
    dc.FillSolidRect(&bounds_, CFOGlobalData::Get().clrBtnFace);
    CRect r = bounds_;
    r.DeflateRect(margin_, margin_);
    LOGBRUSH ink;
    ink.lbColor = RGB(0, 0, 0);
    CPen pen;
    pen.CreatePen(lineType_ | PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &ink);
    CPen* old = dc.SelectObject(&pen);
    const int y = (r.top + r.bottom) / 2;
    dc.MoveTo(r.left, y);
    dc.LineTo(r.right, y);
    dc.SelectObject(old);
    RestoreDC(dc);
}

void CFOLineTypeCellObj::DrawSelected(CDC& dc) {
    CRect inside = bounds_;
    inside.DeflateRect(1, 1);
    CRgn inner;
    inner.CreateRectRgnIndirect(&inside);
    dc.FrameRgn(&inner, CBrush::Stock(WHITE_BRUSH), 2, 2);
    CRect outside = bounds_;
    outside.InflateRect(1, 1);
    CRgn outer;
    outer.CreateRectRgnIndirect(&outside);
    dc.FrameRgn(&outer, CBrush::Stock(BLACK_BRUSH), 1, 1);
}

void CFOLineTypeCellObj::RestoreDC(CDC& dc) {
    dc.RestoreDC(-1);
}

void CFOLineTypeCellObj::SetBrushColor(COLORREF color) {
    brush_.reset();
    brushColor_ = color;
}

CBrush* CFOLineTypeCellObj::Brush() {
    if (!brush_)
        brush_ = std::make_unique<CBrush>(brushColor_);
    return brush_.get();
}
