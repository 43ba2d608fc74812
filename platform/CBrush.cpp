#include "platform/CBrush.h"

#include "platform/GdiConstants.h"

bool CBrush::CreateSolidBrush(COLORREF color) {
    log_ = {BS_SOLID, color & 0x00FFFFFF, 0};
    MarkCreated();
    return true;
}

bool CBrush::CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return false;
    log_ = {BS_HATCHED, color & 0x00FFFFFF, hatch};
    MarkCreated();
    return true;
}

bool CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush)
        return false;
    switch (brush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(brush->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(brush->lbHatch, brush->lbColor);
    case BS_NULL:
        log_ = {BS_NULL, 0, 0};
        MarkCreated();
        return true;
    default:
        return false;
    }
}

int CBrush::GetLogBrush(LOGBRUSH* brush) const {
    if (!brush || !GetSafeHandle())
        return 0;
    *brush = log_;
    return static_cast<int>(sizeof(LOGBRUSH));
}

CBrush* CBrush::Stock(int index) {
    // The stock brushes are process-wide and never change.
    struct StockBrush : CBrush {
        explicit StockBrush(COLORREF color) : CBrush(color) { MarkStock(); }
        StockBrush() {
            LOGBRUSH none{BS_NULL, 0, 0};
            CreateBrushIndirect(&none);
            MarkStock();
        }
    };
    static StockBrush white(RGB(255, 255, 255));
    static StockBrush ltgray(RGB(192, 192, 192));
    static StockBrush gray(RGB(128, 128, 128));
    static StockBrush dkgray(RGB(64, 64, 64));
    static StockBrush black(RGB(0, 0, 0));
    static StockBrush null;
    switch (index) {
    case WHITE_BRUSH:
        return &white;
    case LTGRAY_BRUSH:
        return &ltgray;
    case GRAY_BRUSH:
        return &gray;
    case DKGRAY_BRUSH:
        return &dkgray;
    case BLACK_BRUSH:
        return &black;
    case NULL_BRUSH:
        return &null;
    default:
        return nullptr;
    }
}
