#include "platform/CFont.h"

#include "platform/CDC.h"
#include "platform/GdiConstants.h"

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       const char* faceName) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        lf.SetFaceName(faceName);
    return CreateFontIndirect(&lf);
}

bool CFont::CreateFontIndirect(const LOGFONT* font) {
    if (!font)
        return false;
    log_ = *font;
    log_.lfFaceName[LF_FACESIZE - 1] = '\0'; // a stored name may lack its terminator
    MarkCreated();
    return true;
}

bool CFont::CreatePointFont(int pointSize, const char* faceName, const CDC* dc) {
    const int dpi = dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    int height = MulDiv(pointSize, dpi, 720);
    if (dc) {
        // The height is wanted in the context's logical units.
        CSize s(0, height);
        dc->DPtoLP(&s);
        height = s.cy;
    }
    return CreateFont(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, faceName);
}

int CFont::GetLogFont(LOGFONT* font) const {
    if (!font || !GetSafeHandle())
        return 0;
    *font = log_;
    return static_cast<int>(sizeof(LOGFONT));
}

CFont* CFont::Stock(int index) {
    // The stock fonts are process-wide and never change; sizes in device pixels.
    struct StockFont : CFont {
        StockFont(int height, int weight) {
            CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
            MarkStock();
        }
    };
    static StockFont system(16, FW_BOLD);
    static StockFont gui(-11, FW_NORMAL);
    switch (index) {
    case SYSTEM_FONT:
        return &system;
    case DEFAULT_GUI_FONT:
    case ANSI_VAR_FONT:
        return &gui;
    default:
        return nullptr;
    }
}
