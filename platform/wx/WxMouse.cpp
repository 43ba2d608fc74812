#include "platform/wx/WxMouse.h"

#include "platform/MouseKeyFlags.h"

namespace WxMouse {

UINT KeyFlags(const wxMouseEvent& event) {
    UINT flags = 0;
    if (event.LeftIsDown())
        flags |= MK_LBUTTON;
    if (event.RightIsDown())
        flags |= MK_RBUTTON;
    if (event.MiddleIsDown())
        flags |= MK_MBUTTON;
    if (event.ShiftDown())
        flags |= MK_SHIFT;
    if (event.ControlDown())
        flags |= MK_CONTROL;
    return flags;
}

wxCursor TrackerCursor(CRectTracker::Cursor cursor) {
    switch (cursor) {
    case CRectTracker::Cursor::sizeNWSE:
        return wxCursor(wxCURSOR_SIZENWSE);
    case CRectTracker::Cursor::sizeNESW:
        return wxCursor(wxCURSOR_SIZENESW);
    case CRectTracker::Cursor::sizeNS:
        return wxCursor(wxCURSOR_SIZENS);
    case CRectTracker::Cursor::sizeWE:
        return wxCursor(wxCURSOR_SIZEWE);
    case CRectTracker::Cursor::sizeAll:
        return wxCursor(wxCURSOR_SIZING);
    case CRectTracker::Cursor::arrow:
        break;
    }
    return wxCursor(wxCURSOR_ARROW);
}

} // namespace WxMouse
