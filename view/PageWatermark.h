#pragma once
#include "platform/CSize.h"

class CDC;

// Tiles the built-in watermark over a page area: five tiles across and down, every other row
// shifted by half a tile, the picture stretched into each tile.
class PageWatermark {
public:
    // `area` is the page's logical size (width, negative height) from the top-left corner.
    static void Draw(CDC& dc, CSize area);
};
