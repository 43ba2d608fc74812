#pragma once
#include "app/CellColours.h"

// The Color page's values (not part of the settings sheet).
class PP6 {
public:
    void SetDefaultColors() { colours = CellColours{}; }

    CellColours colours;
};
