#include "controls/CFOGlobalData.h"

#include "platform/SysColor.h"
#include "platform/SystemMetrics.h"

CFOGlobalData& CFOGlobalData::Get() {
    static CFOGlobalData data;
    return data;
}

CFOGlobalData::CFOGlobalData() {
    UpdateSysMetrics();
    UpdateSysColors();
}

void CFOGlobalData::UpdateSysColors() {
    clrBtnFace = GetSysColor(COLOR_BTNFACE);
    clrBtnHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
    clrBtnShadow = GetSysColor(COLOR_BTNSHADOW);
    clrBtnText = GetSysColor(COLOR_BTNTEXT);
    clrBtnDkShadow = GetSysColor(COLOR_3DDKSHADOW);
    clr3DShadow = GetSysColor(COLOR_BTNSHADOW);
    clr3DHilight = GetSysColor(COLOR_BTNHIGHLIGHT);
    clr3DLight = GetSysColor(COLOR_3DLIGHT);
    clrFrameLine = RGB(0, 0, 0);
    clrActiveCaption = GetSysColor(COLOR_ACTIVECAPTION);
    clrInactiveCaption = GetSysColor(COLOR_INACTIVECAPTION);
    clrInactiveCaptionText = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    clrDesktop = GetSysColor(COLOR_BACKGROUND);
    clrWindowFrame = GetSysColor(COLOR_WINDOWFRAME);
    clrHighlight = GetSysColor(COLOR_HIGHLIGHT);
    clrWindowText = GetSysColor(COLOR_WINDOWTEXT);
    clrGrayText = GetSysColor(COLOR_GRAYTEXT);
    clrHighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    clrHotLight = GetSysColor(COLOR_HOTLIGHT);
    bitsPerPixel = ScreenMetrics::Get().bitsPerPixel;
}

void CFOGlobalData::UpdateSysMetrics() {
    cxEdge = GetSystemMetrics(SM_CXEDGE);
    cyEdge = GetSystemMetrics(SM_CYEDGE);
    cxBorder = GetSystemMetrics(SM_CXBORDER);
    cxScreen = GetSystemMetrics(SM_CXSCREEN);
    cyScreen = GetSystemMetrics(SM_CYSCREEN);
    cxVScroll = GetSystemMetrics(SM_CXVSCROLL);
    cxFrame = GetSystemMetrics(SM_CXFRAME);
    cyFrame = GetSystemMetrics(SM_CYFRAME);
    cxDlgFrame = GetSystemMetrics(SM_CXDLGFRAME);
}
