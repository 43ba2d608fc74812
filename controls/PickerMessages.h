#pragma once
#include "platform/WinTypes.h"

// The notifications the picker models send to their hosts and the hosts pass on to their
// owners. wParam carries the colour or pen style.
enum : UINT {
    WM_FO_SELECTCOLOR = 0x4DC, // lParam 100: a keyboard step, the popup stays open
    WM_FO_CANCELCOLOR = 0x4DD,
    WM_FO_CUSTOMCOLOR = 0x4DE,
    WM_FO_COLORCHANGED = 0x4DF,
    WM_FO_SELECTLINETYPE = 0x4F0,
    WM_FO_CANCELLINETYPE = 0x4F1,
    WM_FO_CUSTOMLINETYPE = 0x4F2,
    WM_FO_LINETYPECHANGED = 0x4F3,
};

// lParam of a chosen colour that must not close the popup.
constexpr LPARAM kPickerKeepOpen = 100;
