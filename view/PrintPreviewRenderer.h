#pragma once
#include "platform/IPrintPageService.h"

#include <memory>

class IRenderView;
class PrintPagePlan;
class RasterSurface;

// Draws one page of a plan as the printer would, into a picture of the whole paper at a
// screen's resolution: what a print preview shows.
class PrintPreviewRenderer {
public:
    // `printer` is the real printer's setup; `dpi` the preview's resolution, to which its
    // unprintable border is scaled. Null when the page can't be drawn.
    static std::shared_ptr<RasterSurface> Render(IRenderView& view, const PrintPagePlan& plan,
                                                 int page, const PrintPageSetup& printer, int dpi);
};
