#include "platform/EdgeBands.h"

#include "platform/GdiConstants.h"
#include "platform/SysColor.h"

namespace {

void AddSides(std::vector<EdgeBand>& out, const CRect& r, UINT flags, COLORREF topLeft,
              COLORREF bottomRight) {
    if (flags & BF_TOP)
        out.push_back({{r.left, r.top, r.right, r.top + 1}, topLeft});
    if (flags & BF_LEFT)
        out.push_back({{r.left, r.top, r.left + 1, r.bottom}, topLeft});
    if (flags & BF_BOTTOM)
        out.push_back({{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight});
    if (flags & BF_RIGHT)
        out.push_back({{r.right - 1, r.top, r.right, r.bottom}, bottomRight});
}

} // namespace

std::vector<EdgeBand> EdgeBands(const CRect& rect, UINT edge, UINT flags, CRect& inside) {
    std::vector<EdgeBand> bands;
    inside = rect;
    const UINT outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    const UINT inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    if (outer & BDR_RAISEDOUTER)
        AddSides(bands, inside, flags, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (outer & BDR_SUNKENOUTER)
        AddSides(bands, inside, flags, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT));
    if (outer)
        inside.DeflateRect(1, 1);
    if (inner & BDR_RAISEDINNER)
        AddSides(bands, inside, flags, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW));
    else if (inner & BDR_SUNKENINNER)
        AddSides(bands, inside, flags, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    if (inner)
        inside.DeflateRect(1, 1);
    return bands;
}
