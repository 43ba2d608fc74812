#include "platform/wx/WxBusyCursor.h"

#include <wx/defs.h>
#include <wx/utils.h>

void WxBusyCursor::Begin() {
    wxBeginBusyCursor();
}

void WxBusyCursor::End() {
    if (wxIsBusy())
        wxEndBusyCursor();
}

// The keyboard's state as the display has it now: the work runs on the main thread, so no
// key event could be delivered to a window until it ends.
bool WxBusyCursor::StopAsked() {
    // Only an X server tells the keyboard's state outside a key event.
    const wxDisplayInfo info = wxGetDisplayInfo();
    return info.type == wxDisplayX11 && info.dpy != nullptr && wxGetKeyState(WXK_ESCAPE);
}
