#include "view/ui/MazePrintout.h"

#include "platform/CDC.h"
#include "platform/RasterSurface.h"
#include "platform/wx/WxPrinterPageService.h"
#include "platform/wx/WxRasterCopy.h"
#include "view/IRenderView.h"
#include "view/PrintPreviewRenderer.h"

#include <algorithm>

MazePrintout::MazePrintout(IRenderView& view, const PrintPagePlan& plan, const wxString& title)
    : wxPrintout(title), view_(view), plan_(plan) {}

void MazePrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *pageFrom = 1;
    *maxPage = *pageTo = plan_.PageCount();
}

bool MazePrintout::HasPage(int page) {
    return page >= 1 && page <= plan_.PageCount();
}

void MazePrintout::OnBeginPrinting() {
    view_.BeginPrinting();
}

void MazePrintout::OnEndPrinting() {
    view_.EndPrinting();
}

bool MazePrintout::OnBeginDocument(int startPage, int endPage) {
    begun_ = wxPrintout::OnBeginDocument(startPage, endPage);
    return begun_;
}

bool MazePrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc)
        return false;
    const bool ok = IsPreview() ? DrawPreview(*dc, page) : PrintOnPrinter(*dc, page);
    if (ok)
        ++printed_;
    else
        failed_ = true;
    return ok;
}

bool MazePrintout::PrintOnPrinter(wxDC& dc, int page) {
    int dpiX = 0, dpiY = 0;
    GetPPIPrinter(&dpiX, &dpiY);
    const wxRect paper = GetPaperRectPixels();
    WxPrinterPageService pages(dc, dpiX, paper.x, paper.y, paper.width, paper.height);
    CDC printer;
    printer.CreatePrinterDC(pages);
    if (printer.StartPage() <= 0)
        return false;
    const bool drawn = view_.PrintPage(printer, plan_, page);
    return printer.EndPage() > 0 && drawn;
}

bool MazePrintout::DrawPreview(wxDC& dc, int page) {
    int dpiX = 0, dpiY = 0, screenX = 0, screenY = 0;
    GetPPIPrinter(&dpiX, &dpiY);
    GetPPIScreen(&screenX, &screenY);
    const wxRect paper = GetPaperRectPixels();
    if (dpiX <= 0 || screenX <= 0 || paper.width <= 0)
        return false;
    // The preview shows the paper at the screen's resolution times its zoom; the page is
    // drawn once at that resolution rather than at the printer's.
    const int zoom = preview_ ? preview_->GetZoom() : 100;
    const int dpi = std::max(1, screenX * zoom / 100);
    PrintPageSetup printer;
    printer.dpi = dpiX;
    printer.paperWidth = static_cast<int>(static_cast<long long>(paper.width) * 1000 / dpiX);
    printer.paperHeight = static_cast<int>(static_cast<long long>(paper.height) * 1000 / dpiX);
    printer.offsetX = paper.x < 0 ? -paper.x : 0;
    printer.offsetY = paper.y < 0 ? -paper.y : 0;
    const auto picture = PrintPreviewRenderer::Render(view_, plan_, page, printer, dpi);
    if (!picture)
        return false;
    WxCopyRaster(dc, *picture, picture->Rect(), paper.x, paper.y);
    return true;
}
