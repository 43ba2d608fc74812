// Settings page 1: the Style page.
#pragma once
#include <string>

// The Style page's values: template kind, tiled style and tile set, and wrapping.
class PP1 {
public:
    int kind = 0;
    int tiled = 0;
    std::string selectedTilerName;
    std::string tilerId;
    int selectedIndex = 0;
    // The tile list's text; the document keeps it as its name.
    std::string listText;
    int wrapHorizontally = 0;
    int wrapVertically = 0;
};
