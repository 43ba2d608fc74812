#include "view/PrintPreviewRenderer.h"

#include "platform/CDC.h"
#include "platform/RasterPrintPageService.h"
#include "view/IRenderView.h"

std::shared_ptr<RasterSurface> PrintPreviewRenderer::Render(IRenderView& view,
                                                            const PrintPagePlan& plan, int page,
                                                            const PrintPageSetup& printer,
                                                            int dpi) {
    if (dpi <= 0 || printer.dpi <= 0)
        return nullptr;
    PrintPageSetup setup = printer;
    setup.dpi = dpi;
    setup.offsetX = static_cast<int>(static_cast<long long>(printer.offsetX) * dpi / printer.dpi);
    setup.offsetY = static_cast<int>(static_cast<long long>(printer.offsetY) * dpi / printer.dpi);
    RasterPrintPageService pages(setup);
    CDC dc;
    dc.CreatePrinterDC(pages);
    if (dc.StartDoc("preview") <= 0 || dc.StartPage() <= 0)
        return nullptr;
    const bool drawn = view.PrintPage(dc, plan, page);
    if (dc.EndPage() <= 0 || !drawn)
        return nullptr;
    dc.EndDoc();
    return pages.Page();
}
