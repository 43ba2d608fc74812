#include "controls/PickerBorder.h"

#include "controls/CFOGlobalData.h"
#include "platform/CDC.h"
#include "platform/SysColor.h"

namespace {

struct Colours {
    COLORREF face, shadow, white, black, shadow3d, hilight3d, dark, light3d, frame;
};

Colours Read(bool live) {
    const CFOGlobalData& g = CFOGlobalData::Get();
    return {live ? GetSysColor(COLOR_BTNFACE) : g.clrBtnFace,
            live ? GetSysColor(COLOR_BTNSHADOW) : g.clrBtnShadow,
            RGB(255, 255, 255),
            RGB(0, 0, 0),
            g.clr3DShadow,
            g.clr3DHilight,
            g.clrBtnDkShadow,
            g.clr3DLight,
            g.clrFrameLine};
}

// Draws successive one-pixel rings inward.
class Rings {
public:
    Rings(CDC& dc, CRect rect) : dc_(dc), rect_(rect) {}
    Rings& Edge(COLORREF topLeft, COLORREF bottomRight) {
        Next();
        dc_.Draw3dRect(&rect_, topLeft, bottomRight);
        return *this;
    }
    Rings& Line(COLORREF color) {
        Next();
        PickerBorder::Outline(dc_, rect_, color);
        return *this;
    }
    // The next ring starts `n` pixels further in instead of one.
    Rings& Skip(int n) {
        step_ = n;
        return *this;
    }

private:
    void Next() {
        if (started_)
            rect_.DeflateRect(step_, step_);
        started_ = true;
        step_ = 1;
    }

    CDC& dc_;
    CRect rect_;
    bool started_ = false;
    int step_ = 1;
};

} // namespace

void PickerBorder::Draw(CDC& dc, CRect& rect, int style, bool liveButtonColours) {
    const Colours c = Read(liveButtonColours);
    Rings rings(dc, rect);
    switch (style) {
    case 1: {
        const CRect given = rect;
        rect.InflateRect(2, 2);
        dc.Draw3dRect(&given, c.black, c.white);
        CRect outer = given;
        outer.InflateRect(1, 1);
        dc.Draw3dRect(&outer, c.shadow, c.face);
        break;
    }
    case 2:
        rings.Edge(c.white, c.black).Edge(c.face, c.shadow);
        break;
    case 3:
        rings.Edge(c.shadow, c.white).Edge(c.black, c.face).Skip(2);
        rings.Edge(c.white, c.black).Edge(c.face, c.shadow);
        break;
    case 4:
        rings.Edge(c.white, c.black).Edge(c.face, c.shadow).Skip(2);
        rings.Edge(c.shadow, c.white).Edge(c.black, c.face);
        break;
    case 5:
        rings.Edge(c.shadow3d, c.hilight3d).Edge(c.dark, c.light3d);
        break;
    case 6:
        rings.Edge(c.shadow3d, c.hilight3d);
        break;
    case 7:
        rings.Edge(c.hilight3d, c.shadow3d);
        break;
    case 8:
        rings.Edge(c.hilight3d, c.dark).Edge(c.light3d, c.shadow3d);
        break;
    case 9:
        rings.Line(c.dark).Line(c.dark);
        break;
    case 10:
    case 11: {
        const COLORREF d = style == 10 ? c.dark : c.shadow3d;
        rings.Edge(c.hilight3d, d).Line(c.frame).Edge(d, c.hilight3d);
        break;
    }
    case 12:
    case 13: {
        const COLORREF d = style == 12 ? c.dark : c.shadow3d;
        rings.Edge(c.hilight3d, d).Edge(d, c.hilight3d);
        break;
    }
    case 14:
        rings.Edge(c.shadow3d, c.hilight3d).Edge(c.hilight3d, c.shadow3d);
        break;
    case 15:
        rings.Edge(c.shadow3d, c.hilight3d).Line(c.dark).Edge(c.hilight3d, c.shadow3d);
        break;
    case 16:
        rings.Line(c.dark);
        break;
    default:
        break;
    }
}

void PickerBorder::Outline(CDC& dc, const CRect& rect, COLORREF color) {
    CPen pen(PS_SOLID, 1, color);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(rect.left, rect.top);
    dc.LineTo(rect.right - 1, rect.top);
    dc.LineTo(rect.right - 1, rect.bottom - 1);
    dc.LineTo(rect.left, rect.bottom - 1);
    dc.LineTo(rect.left, rect.top);
    dc.SelectObject(old);
}
