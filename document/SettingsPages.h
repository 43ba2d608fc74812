#pragma once
#include "document/PP1.h"
#include "document/PP2.h"
#include "document/PP3.h"
#include "document/PP4.h"
#include "document/PP5.h"
#include "document/PP6.h"

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
