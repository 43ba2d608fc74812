#pragma once
#include "platform/CGdiObject.h"
#include "platform/GdiStructs.h"

// A pen: style (PS_*), width in logical units (0 = one device pixel) and colour.
class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }

    Kind GetKind() const override { return Kind::Pen; }
    bool CreatePen(int style, int width, COLORREF color);
    bool CreatePenIndirect(const LOGPEN* pen);
    // A pen drawn with a brush's colour; PS_GEOMETRIC in the style makes it a geometric pen.
    bool CreatePen(int style, int width, const LOGBRUSH* brush);
    int GetLogPen(LOGPEN* pen) const;
    const LOGPEN& Log() const { return log_; }

    static CPen* Stock(int index);

protected:
    void Reset() override { log_ = LOGPEN{}; }

private:
    LOGPEN log_;
};
