#include "platform/PdfPrintPageService.h"

#include <cairo-pdf.h>

#include <cstdio>

PdfPrintPageService::PdfPrintPageService(std::string path, PrintPageSetup setup)
    : path_(std::move(path)), setup_(setup) {}

PdfPrintPageService::~PdfPrintPageService() {
    Close();
}

bool PdfPrintPageService::StartDoc(const std::string& title) {
    if (surface_ || setup_.paperWidth <= 0 || setup_.paperHeight <= 0 || setup_.dpi <= 0)
        return false;
    surface_ = cairo_pdf_surface_create(path_.c_str(), setup_.paperWidth * 0.072,
                                        setup_.paperHeight * 0.072);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        Close();
        return false;
    }
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "Orlimber");
    cr_ = cairo_create(surface_);
    return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

bool PdfPrintPageService::StartPage() {
    if (!cr_ || inPage_)
        return false;
    inPage_ = true;
    return true;
}

bool PdfPrintPageService::EndPage() {
    if (!inPage_)
        return false;
    inPage_ = false;
    cairo_show_page(cr_);
    return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

bool PdfPrintPageService::EndDoc() {
    if (!surface_ || inPage_)
        return false;
    cairo_surface_finish(surface_);
    const bool ok = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS &&
                    cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
    Close();
    return ok;
}

void PdfPrintPageService::AbortDoc() {
    const bool open = surface_ != nullptr;
    Close();
    if (open)
        std::remove(path_.c_str()); // an unfinished file is no use to anyone
}

void PdfPrintPageService::Close() {
    inPage_ = false;
    if (cr_)
        cairo_destroy(cr_);
    if (surface_) {
        cairo_surface_finish(surface_);
        cairo_surface_destroy(surface_);
    }
    cr_ = nullptr;
    surface_ = nullptr;
}
