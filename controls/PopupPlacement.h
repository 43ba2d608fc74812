#pragma once
#include "platform/CRect.h"

// Where a popup of `size` opens beside `anchor` (screen coordinates): below it, left edges
// aligned (`dropDown`), or to its right, tops aligned below its bottom; flipped above or to the
// left where it would reach the work area's far edge, then kept inside the work area.
CPoint PlacePopup(const CRect& anchor, CSize size, const CRect& workArea, bool dropDown);
