#pragma once
#include "platform/CGdiObject.h"
#include "platform/GdiStructs.h"

// A brush: solid, hatched (HS_*) or null.
class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }

    Kind GetKind() const override { return Kind::Brush; }
    bool CreateSolidBrush(COLORREF color);
    bool CreateHatchBrush(int hatch, COLORREF color);
    bool CreateBrushIndirect(const LOGBRUSH* brush);
    int GetLogBrush(LOGBRUSH* brush) const;
    const LOGBRUSH& Log() const { return log_; }

    static CBrush* Stock(int index);

protected:
    void Reset() override { log_ = LOGBRUSH{}; }

private:
    LOGBRUSH log_;
};
