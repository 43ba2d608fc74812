#include "platform/wx/WxPrinterPageService.h"

#include <cairo.h>
#include <wx/dc.h>

WxPrinterPageService::WxPrinterPageService(wxDC& dc, int dpi, int paperX, int paperY,
                                           int paperWidth, int paperHeight)
    : dc_(dc) {
    setup_.dpi = dpi;
    if (dpi > 0) {
        setup_.paperWidth = static_cast<int>(static_cast<long long>(paperWidth) * 1000 / dpi);
        setup_.paperHeight = static_cast<int>(static_cast<long long>(paperHeight) * 1000 / dpi);
    }
    setup_.offsetX = paperX < 0 ? -paperX : 0;
    setup_.offsetY = paperY < 0 ? -paperY : 0;
}

bool WxPrinterPageService::StartPage() {
    if (cr_ || setup_.dpi <= 0)
        return false;
    // The printer context's device units are its pixels from the printable area's corner.
    auto* cr = static_cast<cairo_t*>(dc_.GetHandle());
    if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        return false;
    cr_ = cr;
    cairo_save(cr_);
    cairo_translate(cr_, -setup_.offsetX, -setup_.offsetY);
    cairo_scale(cr_, setup_.dpi / 72.0, setup_.dpi / 72.0);
    return true;
}

bool WxPrinterPageService::EndPage() {
    if (!cr_)
        return false;
    const bool ok = cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
    cairo_restore(cr_);
    cr_ = nullptr;
    return ok;
}
