// Settings page 5: the GROWTH page.
#pragma once

// The GROWTH page's compass weights.
class PP5 {
public:
    int e = 1;
    int n = 1;
    int nw = 1;
    int ne = 1;
    int relative = 0;
    int s = 1;
    int se = 1;
    int center = 1;
    int sw = 1;
    int w = 1;
};
