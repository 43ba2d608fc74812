#include "platform/wx/WxBusyCursor.h"

#include <wx/utils.h>

void WxBusyCursor::Begin() {
    wxBeginBusyCursor();
}

void WxBusyCursor::End() {
    if (wxIsBusy())
        wxEndBusyCursor();
}
