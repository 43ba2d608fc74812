#pragma once

class CDC;

// The one line of credit centred in the band at the foot of every page.
class CreditLine {
public:
    static constexpr const char* kText = "Drawn with Orlimber STD, the maze designer";

    // `band` is the band's height, `right` the right edge of the maze (logical units).
    static void Draw(CDC& dc, int band, int pageHeight, int right);
};
