#include "view/PrinterReport.h"

#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "platform/TextFormat.h"

#include <initializer_list>

namespace {

struct Flag {
    const char* name;
    int value;
};

#define FLAG(name)                                                                                 \
    Flag {                                                                                         \
#name, name                                                                                \
    }

// One word per flag: its name when set, else "NO_" and its name. A zero flag can't be set.
std::string Words(int value, std::initializer_list<Flag> flags) {
    std::string out;
    for (const Flag& f : flags)
        out += std::string((value & f.value) != 0 ? "" : "NO_") + f.name + " ";
    return out;
}

// The technology is one value, not a set of bits: only the matching name is set.
std::string TechnologyWords(int value) {
    std::string out;
    for (const Flag& f : {FLAG(DT_PLOTTER), FLAG(DT_RASDISPLAY), FLAG(DT_RASPRINTER),
                          FLAG(DT_RASCAMERA), FLAG(DT_CHARSTREAM), FLAG(DT_DISPFILE)})
        out += std::string(value == f.value ? "" : "NO_") + f.name + " ";
    return out;
}

} // namespace

std::string PrinterReport::Text(const CDC& dc) {
    const auto cap = [&dc](int index) { return dc.GetDeviceCaps(index); };
    std::string text =
        Format("******************Start of Orlimber Printer Debug Information**************"
               "\r\n\r\nDriver Version: %d\r\n",
               cap(DRIVERVERSION));
    text += Format("Physical(s): W=%d H=%d OffsetX=%d OffsetY=%d\r\n", cap(PHYSICALWIDTH),
                   cap(PHYSICALHEIGHT), cap(PHYSICALOFFSETX), cap(PHYSICALOFFSETY));
    text += Format("Resolution: Horz=%d Vert=%d\r\n", cap(HORZRES), cap(VERTRES));
    text += Format("Colors: BITSPIXEL=%d PLANES=%d NumColors=%d SizePalette=%d\r\n", cap(BITSPIXEL),
                   cap(PLANES), cap(NUMCOLORS), cap(SIZEPALETTE));
    text += Format("Size: Horz=%d Vert=%d\r\n", cap(HORZSIZE), cap(VERTSIZE));
    text += Format("LogPixel: X=%d Y=%d\r\n", cap(LOGPIXELSX), cap(LOGPIXELSY));
    text += "\r\n\r\nTECHNOLOGY: " + TechnologyWords(cap(TECHNOLOGY));
    text += "\r\n\r\nRASTERCAPS: " +
            Words(cap(RASTERCAPS),
                  {FLAG(RC_BANDING), FLAG(RC_BITBLT), FLAG(RC_BITMAP64), FLAG(RC_DI_BITMAP),
                   FLAG(RC_DIBTODEV), FLAG(RC_GDI20_OUTPUT), FLAG(RC_PALETTE), FLAG(RC_SCALING),
                   FLAG(RC_STRETCHBLT), FLAG(RC_STRETCHDIB)});
    text +=
        "\r\n\r\nCURVECAPS: " +
        Words(cap(CURVECAPS), {FLAG(CC_NONE), FLAG(CC_CHORD), FLAG(CC_CIRCLES), FLAG(CC_ELLIPSES),
                               FLAG(CC_INTERIORS), FLAG(CC_PIE), FLAG(CC_ROUNDRECT),
                               FLAG(CC_STYLED), FLAG(CC_WIDE), FLAG(CC_WIDESTYLED)});
    text += "\r\n\r\nLINECAPS: " +
            Words(cap(LINECAPS),
                  {FLAG(LC_NONE), FLAG(LC_INTERIORS), FLAG(LC_MARKER), FLAG(LC_POLYLINE),
                   FLAG(LC_POLYMARKER), FLAG(LC_STYLED), FLAG(LC_WIDE), FLAG(LC_WIDESTYLED)});
    text += "\r\n\r\nPOLYGONALCAPS: " +
            Words(cap(POLYGONALCAPS), {FLAG(PC_NONE), FLAG(PC_INTERIORS), FLAG(PC_POLYGON),
                                       FLAG(PC_RECTANGLE), FLAG(PC_SCANLINE), FLAG(PC_STYLED),
                                       FLAG(PC_WIDE), FLAG(PC_WIDESTYLED), FLAG(PC_WINDPOLYGON)});
    text += "\r\n\r\nTEXTCAPS: " +
            Words(cap(TEXTCAPS),
                  {FLAG(TC_OP_CHARACTER), FLAG(TC_OP_STROKE), FLAG(TC_CP_STROKE), FLAG(TC_CR_90),
                   FLAG(TC_CR_ANY), FLAG(TC_SF_X_YINDEP), FLAG(TC_SA_DOUBLE), FLAG(TC_SA_INTEGER),
                   FLAG(TC_SA_CONTIN), FLAG(TC_EA_DOUBLE), FLAG(TC_IA_ABLE), FLAG(TC_UA_ABLE),
                   FLAG(TC_SO_ABLE), FLAG(TC_RA_ABLE), FLAG(TC_VA_ABLE), FLAG(TC_RESERVED),
                   FLAG(TC_SCROLLBLT)});
    text += "\r\n\r\n******************End of Orlimber Printer Debug Information**************\r\n";
    return text;
}
