#pragma once
#include <string>

typedef struct _cairo cairo_t;

// The paper and printer a print job draws on. Sizes in thousandths of an inch; the printer's
// device pixels are `dpi` to the inch and start at the printable area's corner, `offsetX` and
// `offsetY` pixels in from the paper's edges.
struct PrintPageSetup {
    int paperWidth = 8500;
    int paperHeight = 11000;
    int dpi = 600;
    int offsetX = 0;
    int offsetY = 0;
};

// One print job's pages. The toolkit layer implements it over the system's printing; the PDF
// service writes a file. A printer device context (CDC::CreatePrinterDC) draws through it.
class IPrintPageService {
public:
    virtual ~IPrintPageService() = default;

    virtual PrintPageSetup Setup() const = 0;
    virtual bool StartDoc(const std::string& title) = 0;
    virtual bool StartPage() = 0;
    // The current page's context, user space in points (1/72 inch) from the paper's top-left
    // corner; nullptr outside a page.
    virtual cairo_t* PageContext() = 0;
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    virtual void AbortDoc() = 0;
};
