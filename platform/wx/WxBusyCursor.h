#pragma once
#include "platform/CWaitCursor.h"

// The toolkit's busy cursor over every window of the program; Escape held down asks to stop.
class WxBusyCursor : public IBusyIndicator {
public:
    void Begin() override;
    void End() override;
    bool StopAsked() override;
};
