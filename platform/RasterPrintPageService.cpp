#include "platform/RasterPrintPageService.h"

#include "platform/RasterSurface.h"

#include <cairo.h>

RasterPrintPageService::~RasterPrintPageService() {
    DropContext();
}

bool RasterPrintPageService::StartDoc(const std::string&) {
    return setup_.paperWidth > 0 && setup_.paperHeight > 0 && setup_.dpi > 0;
}

bool RasterPrintPageService::StartPage() {
    if (inPage_ || setup_.dpi <= 0)
        return false;
    DropContext();
    const long long width = static_cast<long long>(setup_.paperWidth) * setup_.dpi / 1000;
    const long long height = static_cast<long long>(setup_.paperHeight) * setup_.dpi / 1000;
    // RasterSurface refuses sizes it can't hold; anything beyond int is refused here first.
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        return false;
    page_ = RasterSurface::Create(static_cast<int>(width), static_cast<int>(height));
    if (!page_)
        return false;
    cr_ = cairo_create(page_->CairoSurface());
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        DropContext();
        page_.reset();
        return false;
    }
    cairo_scale(cr_, setup_.dpi / 72.0, setup_.dpi / 72.0);
    inPage_ = true;
    return true;
}

bool RasterPrintPageService::EndPage() {
    if (!inPage_)
        return false;
    inPage_ = false;
    cairo_surface_flush(page_->CairoSurface());
    const bool ok = cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
    DropContext();
    return ok;
}

void RasterPrintPageService::AbortDoc() {
    inPage_ = false;
    DropContext();
    page_.reset();
}

void RasterPrintPageService::DropContext() {
    if (cr_)
        cairo_destroy(cr_);
    cr_ = nullptr;
}
