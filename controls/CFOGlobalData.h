#pragma once
#include "platform/WinTypes.h"

// The desktop colours and sizes every picker control draws with (a documented singleton):
// read once at start-up and again when the desktop's colours change.
class CFOGlobalData {
public:
    static CFOGlobalData& Get();

    void UpdateSysColors();
    void UpdateSysMetrics();

    COLORREF clrBtnFace = 0;
    COLORREF clrBtnHilite = 0;
    COLORREF clrBtnShadow = 0;
    COLORREF clrBtnText = 0;
    COLORREF clrBtnDkShadow = 0;
    COLORREF clr3DShadow = 0;
    COLORREF clr3DHilight = 0;
    COLORREF clr3DLight = 0;
    COLORREF clrFrameLine = 0;
    COLORREF clrActiveCaption = 0;
    COLORREF clrInactiveCaption = 0;
    COLORREF clrInactiveCaptionText = 0;
    COLORREF clrDesktop = 0;
    COLORREF clrWindowFrame = 0;
    COLORREF clrHighlight = 0;
    COLORREF clrWindowText = 0;
    COLORREF clrGrayText = 0;
    COLORREF clrHighlightText = 0;
    COLORREF clrHotLight = 0;
    int cxEdge = 0;
    int cyEdge = 0;
    int cxBorder = 0;
    int cxScreen = 0;
    int cyScreen = 0;
    int cxVScroll = 0;
    int cxFrame = 0;
    int cyFrame = 0;
    int cxDlgFrame = 0;
    int bitsPerPixel = 0;

private:
    CFOGlobalData();
};
