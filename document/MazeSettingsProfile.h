#pragma once
#include "maze/MazeSettings.h"

class CProfile;

// Where the maze settings live in the profile: sections "size", "Settings" and "PROB".
class MazeSettingsProfile {
public:
    struct Circular {
        int cells = 10;
        int percent = 4;
    };

    // The settings the profile holds, defaults for the rest (the seed is not kept).
    static MazeSettings Load(const CProfile& profile);
    static Circular LoadCircular(const CProfile& profile);

    static void SavePrinting(CProfile& profile, const MazeSettings& s);
    static void SaveCompass(CProfile& profile, const CompassWeights& compass);
    static void SaveSize(CProfile& profile, const MazeSettings& s, Circular circular);
};
