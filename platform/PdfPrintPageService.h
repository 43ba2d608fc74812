#pragma once
#include "platform/IPrintPageService.h"

typedef struct _cairo_surface cairo_surface_t;

// Prints to a PDF file: vector shapes and real, searchable text.
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

private:
    void Close();

    std::string path_;
    PrintPageSetup setup_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool inPage_ = false;
};
