#include "platform/DeviceCaps.h"

namespace {
int Millimetres(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(pixels * 25.4 / dpi + 0.5) : 0;
}
} // namespace

int DeviceCaps::Get(int index) const {
    const bool printer = technology == DT_RASPRINTER;
    switch (index) {
    case DRIVERVERSION:
        return 0x4000;
    case TECHNOLOGY:
        return technology;
    case HORZSIZE:
        return Millimetres(horzRes, dpiX);
    case VERTSIZE:
        return Millimetres(vertRes, dpiY);
    case HORZRES:
        return horzRes;
    case VERTRES:
        return vertRes;
    case BITSPIXEL:
        return bitsPixel;
    case PLANES:
        return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
        return -1;
    case NUMFONTS:
        return 0;
    case CURVECAPS:
        return CC_CIRCLES | CC_PIE | CC_CHORD | CC_ELLIPSES | CC_WIDE | CC_STYLED | CC_WIDESTYLED |
               CC_INTERIORS | CC_ROUNDRECT;
    case LINECAPS:
        return LC_POLYLINE | LC_MARKER | LC_POLYMARKER | LC_WIDE | LC_STYLED | LC_WIDESTYLED |
               LC_INTERIORS;
    case POLYGONALCAPS:
        return PC_POLYGON | PC_RECTANGLE | PC_WINDPOLYGON | PC_SCANLINE | PC_WIDE | PC_STYLED |
               PC_WIDESTYLED | PC_INTERIORS;
    case TEXTCAPS:
        return TC_OP_CHARACTER | TC_OP_STROKE | TC_CP_STROKE | TC_CR_ANY | TC_SF_X_YINDEP |
               TC_SA_DOUBLE | TC_SA_INTEGER | TC_SA_CONTIN | TC_EA_DOUBLE | TC_IA_ABLE |
               TC_UA_ABLE | TC_SO_ABLE | TC_RA_ABLE | TC_VA_ABLE;
    case CLIPCAPS:
        return 1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
               RC_STRETCHBLT | RC_STRETCHDIB | RC_SCALING | (printer ? RC_BANDING : 0);
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
        return dpiX;
    case LOGPIXELSY:
        return dpiY;
    case SIZEPALETTE:
    case NUMRESERVED:
        return 0;
    case COLORRES:
        return 24;
    case PHYSICALWIDTH:
        return printer ? physicalWidth : 0;
    case PHYSICALHEIGHT:
        return printer ? physicalHeight : 0;
    case PHYSICALOFFSETX:
        return printer ? physicalOffsetX : 0;
    case PHYSICALOFFSETY:
        return printer ? physicalOffsetY : 0;
    default:
        return 0;
    }
}
