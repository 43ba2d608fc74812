#pragma once
#include "platform/CGdiObject.h"
#include "platform/GdiStructs.h"

// A font request: face name, height in logical units (negative = character height, positive =
// cell height, 0 = a default size), weight, italic, underline, strike-out and escapement in
// tenths of a degree counter-clockwise.
class CFont : public CGdiObject {
public:
    CFont() = default;

    Kind GetKind() const override { return Kind::Font; }
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName);
    bool CreateFontIndirect(const LOGFONT* font);
    // Height in tenths of a point, converted with the context's vertical resolution (96 dots per
    // inch without one).
    bool CreatePointFont(int pointSize, const char* faceName, const class CDC* dc = nullptr);
    int GetLogFont(LOGFONT* font) const;
    const LOGFONT& Log() const { return log_; }

    static CFont* Stock(int index);

protected:
    void Reset() override { log_ = LOGFONT{}; }

private:
    LOGFONT log_;
};
