#include "platform/wx/WxScreenMetrics.h"

#include "platform/SystemMetrics.h"

#include <wx/gdicmn.h>

void WxRecordScreenMetrics() {
    int width = 0, height = 0;
    wxDisplaySize(&width, &height);
    ScreenMetrics::Set({width, height, wxDisplayDepth()});
}
