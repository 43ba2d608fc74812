#include "platform/wx/WxDialogParent.h"

#include <wx/app.h>
#include <wx/toplevel.h>

namespace {

// A closed frame stays in the list of top-level windows until the next idle time deletes it,
// which a modal box's own event loop brings about.
bool Lasts(wxWindow* window) {
    return window && !window->IsBeingDeleted() && !wxPendingDelete.Member(window) &&
           window->IsShown();
}

} // namespace

wxWindow* WxDialogParent() {
    if (!wxTheApp)
        return nullptr;
    if (wxWindow* top = wxTheApp->GetTopWindow(); Lasts(top))
        return top;
    for (wxWindow* window : wxTopLevelWindows)
        if (Lasts(window))
            return window;
    return nullptr;
}
