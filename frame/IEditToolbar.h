#pragma once
#include "platform/WinTypes.h"

// The edit toolbar as the view changes it: the chosen maze tool shows pressed, and each layer
// shows only the buttons that work on it.
class IEditToolbar {
public:
    virtual ~IEditToolbar() = default;
    virtual void PressButton(UINT command, bool pressed) = 0;
    virtual bool IsButtonPressed(UINT command) const = 0;
    virtual void ShowButton(UINT command, bool shown) = 0;
    virtual bool IsButtonShown(UINT command) const = 0;
};
