#pragma once
#include "app/PP1.h"
#include "app/PP2.h"
#include "app/PP3.h"
#include "app/PP4.h"
#include "app/PP5.h"
#include "app/PP6.h"

// The pages of the settings sheet, in sheet order, and the colour page kept beside them.
struct SettingsPages {
    enum Page { kStyle, kDimensions, kPage, kAdvanced, kGrowth };

    PP1 style;
    PP2 dimensions;
    PP3 page;
    PP4 advanced;
    PP5 growth;
    PP6 colours;
};
