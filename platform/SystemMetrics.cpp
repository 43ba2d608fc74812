#include "platform/SystemMetrics.h"

namespace {

ScreenMetrics::Screen& Current() {
    static ScreenMetrics::Screen screen;
    return screen;
}

} // namespace

ScreenMetrics::Screen ScreenMetrics::Get() {
    return Current();
}

void ScreenMetrics::Set(const Screen& screen) {
    if (screen.width < 1 || screen.height < 1 || screen.bitsPerPixel < 1 ||
        screen.bitsPerPixel > 32)
        return;
    Current() = screen;
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
        return ScreenMetrics::Get().width;
    case SM_CYSCREEN:
        return ScreenMetrics::Get().height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 17;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    default:
        return 0;
    }
}
