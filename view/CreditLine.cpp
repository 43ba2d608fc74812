#include "view/CreditLine.h"

#include "platform/CDC.h"
#include "platform/CFont.h"

void CreditLine::Draw(CDC& dc, int band, int pageHeight, int right) {
    CFont font;
    if (!font.CreateFont(band / 2, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0x30, "Courier"))
        return;
    CFont* old = dc.SelectObject(&font);
    RECT r{0, band - pageHeight, right, -pageHeight};
    dc.DrawText(kText, &r, DT_CENTER | DT_NOCLIP);
    dc.SelectObject(old);
}
