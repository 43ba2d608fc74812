#pragma once
#include "platform/IPrintPageService.h"

#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

// Prints to a PDF file: vector shapes and real, searchable text. The document is made in
// memory and written only when it is whole, the way every save is (AtomicFile): a FIFO, device
// or folder under that name is refused before the first page, and a failure leaves an old file
// as it was.
class PdfPrintPageService : public IPrintPageService {
public:
    PdfPrintPageService(std::string path, PrintPageSetup setup);
    ~PdfPrintPageService() override;
    PdfPrintPageService(const PdfPrintPageService&) = delete;
    PdfPrintPageService& operator=(const PdfPrintPageService&) = delete;

    PrintPageSetup Setup() const override { return setup_; }
    bool StartDoc(const std::string& title) override;
    bool StartPage() override;
    cairo_t* PageContext() override { return inPage_ ? cr_ : nullptr; }
    bool EndPage() override;
    bool EndDoc() override;
    void AbortDoc() override;

    // Why the document was not written, in SaveRefusal's words; empty while nothing failed.
    const std::string& Error() const { return error_; }

private:
    void Close();

    std::string path_;
    PrintPageSetup setup_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool inPage_ = false;
    std::vector<unsigned char> bytes_;
    std::string error_;
};
