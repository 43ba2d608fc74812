#include "controls/CFOColorButton.h"

#include "controls/CFOGlobalData.h"
#include "platform/CDC.h"
#include "platform/SysColor.h"

void CFOColorButton::Draw(CDC& dc, const CRect& item) const {
    dc.FillSolidRect(&item, GetSysColor(COLOR_BTNFACE));
    CRect swatch = item;
    swatch.DeflateRect(4, 4);
    const LONG middle = (item.top + item.bottom) / 2;
    const CRect upper(swatch.left, swatch.top, swatch.right, middle);
    const CRect lower(swatch.left, middle, swatch.right, swatch.bottom);
    dc.FillSolidRect(&upper, color_);
    dc.FillSolidRect(&lower, second_);
    CRect frame = item;
    dc.Draw3dRect(&frame, RGB(255, 255, 255), RGB(0, 0, 0));
    frame.DeflateRect(1, 1);
    dc.Draw3dRect(&frame, CFOGlobalData::Get().clrBtnFace, CFOGlobalData::Get().clrBtnShadow);
}
