// Settings page 4: the Advanced page.
#pragma once
#include <string>

// The Advanced page's values.
class PP4 {
public:
    std::string seed;
    int erasedVisible = 0;
    int penWidth = 0; // 0.001 inch
    int infoWindow = 1;
    int animate = 0;
};
