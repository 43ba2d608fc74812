#pragma once
#include "platform/WinTypes.h"

// What the drop-down button logic asks of its window.
class IDropButtonHost {
public:
    virtual ~IDropButtonHost() = default;
    // Opens a new popup showing `value`; false when it could not be made. The window tags the
    // popup's answers with the logic's current popup number.
    virtual bool OpenPopup(DWORD value) = 0;
    // Closes the current popup and destroys it later, never inside its own handler.
    virtual void ClosePopup() = 0;
    // Tells the owner at once (nothing when the button has no owner).
    virtual void SendToOwner(UINT message, WPARAM wParam) = 0;
    virtual void Repaint() = 0;
    // The More Colors dialog started with `color`; true and the chosen colour on OK.
    virtual bool RunCustomDialog(COLORREF& color) = 0;
};
