#pragma once
#include "platform/RgbaPicture.h"
#include "platform/WinTypes.h"

// The toolbar pictures, drawn by the program as small vector sketches: 16 by 15 pixels for the
// buttons of the standard bar, 40 by 40 for the edit bar.
class ToolbarArt {
public:
    // An empty picture for a command without a button.
    static RgbaPicture Draw(UINT command);
};
