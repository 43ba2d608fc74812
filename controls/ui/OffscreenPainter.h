#pragma once
#include "platform/CBitmap.h"
#include "platform/CDC.h"

#include <functional>

class wxWindow;

// Paints a window through an off-screen raster of its client size, so nothing flickers.
class OffscreenPainter {
public:
    using Draw = std::function<void(CDC& dc, CSize client)>;

    OffscreenPainter();
    // From the window's paint handler: `draw` fills the raster, which then goes to the screen.
    void Paint(wxWindow& window, const Draw& draw);

private:
    CDC buffer_;
    CBitmap pixels_; // selected into buffer_, so it goes first
};
