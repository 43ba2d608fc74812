#include "controls/PopupPlacement.h"

#include <algorithm>

CPoint PlacePopup(const CRect& anchor, CSize size, const CRect& workArea, bool dropDown) {
    CPoint at;
    at.y = anchor.bottom + size.cy >= workArea.bottom ? anchor.top - size.cy : anchor.bottom;
    if (dropDown)
        at.x = anchor.left + size.cx >= workArea.right ? anchor.right - size.cx : anchor.left;
    else
        at.x = anchor.right + size.cx >= workArea.right ? anchor.left - size.cx : anchor.right;
    // An anchor at a screen edge must still give a popup on the screen.
    at.x = std::max(workArea.left, std::min<LONG>(at.x, workArea.right - size.cx));
    at.y = std::max(workArea.top, std::min<LONG>(at.y, workArea.bottom - size.cy));
    return at;
}
