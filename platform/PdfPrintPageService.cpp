#include "platform/PdfPrintPageService.h"

#include "platform/AtomicFile.h"
#include "platform/SaveRefusal.h"

#include <cairo-pdf.h>

#include <span>

namespace {

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

PdfPrintPageService::PdfPrintPageService(std::string path, PrintPageSetup setup)
    : path_(std::move(path)), setup_(setup) {}

PdfPrintPageService::~PdfPrintPageService() {
    Close();
}

bool PdfPrintPageService::StartDoc(const std::string& title) {
    if (surface_ || setup_.paperWidth <= 0 || setup_.paperHeight <= 0 || setup_.dpi <= 0)
        return false;
    // Refused before a page is drawn: nothing is opened under that name until the end.
    if (const AtomicFile::Outcome target = AtomicFile::Check(path_); !target.ok) {
        error_ = target.message;
        return false;
    }
    error_.clear();
    bytes_.clear();
    surface_ = cairo_pdf_surface_create_for_stream(Append, &bytes_, setup_.paperWidth * 0.072,
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
    const bool made = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS &&
                      cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
    Close();
    std::vector<unsigned char> bytes = std::move(bytes_);
    bytes_.clear();
    if (!made) {
        error_ = SaveRefusal::Text(path_, "the pages could not be made");
        return false;
    }
    const AtomicFile::Outcome written =
        AtomicFile::Replace(path_, std::as_bytes(std::span(bytes)), AtomicFile::Options{});
    error_ = written.ok ? std::string() : written.message;
    return written.ok;
}

void PdfPrintPageService::AbortDoc() {
    // An unfinished document is never written.
    Close();
    bytes_.clear();
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
