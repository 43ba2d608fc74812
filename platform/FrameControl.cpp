#include "platform/FrameControl.h"

#include "platform/GdiConstants.h"
#include "platform/SysColor.h"

#include <algorithm>

namespace {

void AddFrame(std::vector<EdgeBand>& out, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
    out.push_back({{r.left, r.top, r.right, r.top + 1}, topLeft});
    out.push_back({{r.left, r.top, r.left + 1, r.bottom}, topLeft});
    out.push_back({{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight});
    out.push_back({{r.right - 1, r.top, r.right, r.bottom}, bottomRight});
}

// The raised (or, pushed, sunken) two-pixel frame of a button with its face filled in.
void AddButton(std::vector<EdgeBand>& out, const CRect& rect, bool pushed, CRect& inside) {
    inside = rect;
    if (pushed) {
        AddFrame(out, inside, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT));
        inside.DeflateRect(1, 1);
        AddFrame(out, inside, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    } else {
        AddFrame(out, inside, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        inside.DeflateRect(1, 1);
        AddFrame(out, inside, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DSHADOW));
    }
    inside.DeflateRect(1, 1);
    if (!inside.IsRectEmpty())
        out.push_back({inside, GetSysColor(COLOR_3DFACE)});
}

// A downward triangle centred in `area`, one row per band.
void AddDownArrow(std::vector<EdgeBand>& out, const CRect& area, COLORREF color) {
    int width = std::min(area.Width(), area.Height()) / 2;
    if (width % 2 == 0)
        --width;
    if (width < 1)
        return;
    const int height = (width + 1) / 2;
    const int left = area.left + (area.Width() - width) / 2;
    const int top = area.top + (area.Height() - height) / 2;
    for (int row = 0; row < height; ++row)
        out.push_back({{left + row, top + row, left + width - row, top + row + 1}, color});
}

} // namespace

std::vector<EdgeBand> FrameControlBands(const CRect& rect, UINT type, UINT state, CRect& inside) {
    std::vector<EdgeBand> bands;
    inside = rect;
    const bool pushed = (state & DFCS_PUSHED) != 0;
    if (type == DFC_BUTTON && (state & 0xFF) == DFCS_BUTTONPUSH) {
        AddButton(bands, rect, pushed, inside);
    } else if (type == DFC_SCROLL && (state & 0xFF) == DFCS_SCROLLDOWN) {
        CRect face;
        AddButton(bands, rect, false, face);
        if (pushed) {
            // A pressed arrow button is flat: a shadow line round the face, the arrow moved in.
            bands.clear();
            AddFrame(bands, rect, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW));
            CRect inner = rect;
            inner.DeflateRect(1, 1);
            if (!inner.IsRectEmpty())
                bands.push_back({inner, GetSysColor(COLOR_3DFACE)});
            face.OffsetRect(1, 1);
        }
        if (state & DFCS_INACTIVE) {
            CRect embossed = face;
            embossed.OffsetRect(1, 1);
            AddDownArrow(bands, embossed, GetSysColor(COLOR_3DHIGHLIGHT));
            AddDownArrow(bands, face, GetSysColor(COLOR_GRAYTEXT));
        } else {
            AddDownArrow(bands, face, GetSysColor(COLOR_BTNTEXT));
        }
        inside = rect;
        inside.DeflateRect(2, 2);
    }
    return bands;
}
