#pragma once
#include "document/SettingsPages.h"
#include "maze/MazeSettings.h"

// Moves the settings into the sheet's pages and back, converting lengths between 0.001 inch
// and inches and the seed to and from text.
class SettingsPageExchange {
public:
    struct Circular {
        int cells = 10;
        float percent = 4;
    };

    static void Fill(const MazeSettings& s, Circular circular, bool infoBox, SettingsPages& pages);
    // The settings `base` becomes with the pages' values.
    static MazeSettings Read(const SettingsPages& pages, MazeSettings base);

    // Inches back to 0.001 inch, rounded to nearest so the values never drift: a page side is
    // shown one unit larger than it is kept (9499 shows as 9.5).
    static int PageSideFromInches(float inches);
    static int OffsetFromInches(float inches);
};
