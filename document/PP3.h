// Settings page 3: the Page page.
#pragma once

// The Page page's values, in inches.
class PP3 {
public:
    float height = 0;
    float width = 0;
    float leftMargin = 0;
    float topMargin = 0;
    int printerDebug = 0;
    int autoCenter = 0;
};
