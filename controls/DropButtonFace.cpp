#include "controls/DropButtonFace.h"

#include "controls/CFOGlobalData.h"
#include "platform/CDC.h"
#include "platform/SystemMetrics.h"

#include <algorithm>

int DropButtonFace::ArrowSide() {
    const int a = std::max(5 * GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CXHTHUMB));
    const int b = std::max(5 * GetSystemMetrics(SM_CYEDGE), GetSystemMetrics(SM_CYVTHUMB));
    return std::max(a, b);
}

CSize DropButtonFace::FitSize(CSize current) {
    const int s = ArrowSide();
    return {std::max<LONG>(current.cx, 2 * GetSystemMetrics(SM_CXEDGE) + 2 * s),
            s + 2 * GetSystemMetrics(SM_CYEDGE)};
}

CRect DropButtonFace::ArrowRect(CSize client) {
    const int s = ArrowSide(), cx = GetSystemMetrics(SM_CXEDGE), cy = GetSystemMetrics(SM_CYEDGE);
    return {client.cx - s - cx, cy, client.cx - cx, client.cy - cy};
}

CRect DropButtonFace::BeginItem(CDC& dc, CSize client, const State& state) {
    CRect arrow = ArrowRect(client);
    UINT arrowState = DFCS_SCROLLDOWN;
    if (state.dropped)
        arrowState |= DFCS_PUSHED;
    if (state.disabled)
        arrowState |= DFCS_INACTIVE;
    dc.DrawFrameControl(&arrow, DFC_SCROLL, arrowState);
    CRect item(0, 0, client.cx, client.cy);
    dc.DrawEdge(&item, EDGE_SUNKEN, BF_RECT);
    item.DeflateRect(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    item.right -= ArrowRect(client).Width();
    const bool lit = state.dropped || state.focused;
    dc.FillSolidRect(&item, lit ? CFOGlobalData::Get().clrActiveCaption : RGB(255, 255, 255));
    item.DeflateRect(2, 0);
    dc.SaveDC();
    dc.IntersectClipRect(&item);
    return item;
}

void DropButtonFace::DrawColour(CDC& dc, CSize client, const State& state, COLORREF color) {
    CRect sample = BeginItem(dc, client, state);
    sample.DeflateRect(2, 2);
    dc.FillSolidRect(&sample, color);
    if (state.dropped || state.focused) {
        dc.Draw3dRect(&sample, RGB(255, 255, 255), RGB(255, 255, 255));
        dc.DrawFocusRect(&sample);
    } else {
        dc.Draw3dRect(&sample, RGB(0, 0, 0), RGB(0, 0, 0));
    }
    dc.RestoreDC(-1);
}

void DropButtonFace::DrawLineType(CDC& dc, CSize client, const State& state, int lineType,
                                  COLORREF lineColor) {
    CRect area = BeginItem(dc, client, state);
    const bool lit = state.dropped || state.focused;
    LOGBRUSH ink;
    ink.lbColor = lit ? RGB(255, 255, 255) : lineColor;
    CPen pen;
    pen.CreatePen(lineType | PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &ink);
    CPen* old = dc.SelectObject(&pen);
    const int y = (area.top + area.bottom) / 2;
    dc.MoveTo(area.left, y);
    dc.LineTo(area.right, y);
    dc.SelectObject(old);
    area.DeflateRect(1, 1);
    if (lit)
        dc.DrawFocusRect(&area);
    dc.RestoreDC(-1);
}
