#pragma once
#include "platform/CRect.h"
#include "platform/WinTypes.h"

// What a window-less picker model asks of the window it lives in. Posted notifications arrive
// later, in the order they were posted.
class IPickerHost {
public:
    virtual ~IPickerHost() = default;
    virtual void Post(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void Invalidate(const CRect& rect) = 0;
    virtual void Hide() = 0;
    virtual void SetCapture(bool capture) = 0;
    // Moves the focus to the previous item of the dialog around the host, if there is one.
    virtual void FocusPreviousTabItem() = 0;
};
