#include "platform/CPen.h"

#include "platform/GdiConstants.h"

bool CPen::CreatePen(int style, int width, COLORREF color) {
    log_.lopnStyle = static_cast<UINT>(style);
    log_.lopnWidth = {width < 0 ? 0 : width, 0};
    log_.lopnColor = color & 0x00FFFFFF;
    MarkCreated();
    return true;
}

bool CPen::CreatePenIndirect(const LOGPEN* pen) {
    if (!pen)
        return false;
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

bool CPen::CreatePen(int style, int width, const LOGBRUSH* brush) {
    return CreatePen(style, width, brush ? brush->lbColor : 0);
}

int CPen::GetLogPen(LOGPEN* pen) const {
    if (!pen || !GetSafeHandle())
        return 0;
    *pen = log_;
    return static_cast<int>(sizeof(LOGPEN));
}

CPen* CPen::Stock(int index) {
    // The stock pens are process-wide and never change.
    struct StockPen : CPen {
        StockPen(int style, COLORREF color) : CPen(style, 0, color) { MarkStock(); }
    };
    static StockPen white(PS_SOLID, RGB(255, 255, 255));
    static StockPen black(PS_SOLID, RGB(0, 0, 0));
    static StockPen null(PS_NULL, RGB(0, 0, 0));
    switch (index) {
    case WHITE_PEN:
        return &white;
    case BLACK_PEN:
        return &black;
    case NULL_PEN:
        return &null;
    default:
        return nullptr;
    }
}
