#pragma once
#include "platform/CRectTracker.h"
#include "platform/WinTypes.h"

#include <wx/cursor.h>
#include <wx/event.h>

// The toolkit's mouse in the program's terms: MK_* key flags and tracker cursors.
namespace WxMouse {

UINT KeyFlags(const wxMouseEvent& event);
wxCursor TrackerCursor(CRectTracker::Cursor cursor);

} // namespace WxMouse
