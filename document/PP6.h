// Settings page 6: the colour page, kept beside the five pages of the sheet.
#pragma once
#include "document/CellColours.h"

// The Color page's values (not part of the settings sheet).
class PP6 {
public:
    void SetDefaultColors() { colours = CellColours{}; }

    CellColours colours;
};
