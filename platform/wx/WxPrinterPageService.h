#pragma once
#include "platform/IPrintPageService.h"

class wxDC;

// One page of a toolkit print job, drawn on the printer context's Cairo context. The toolkit
// runs the job and its pages; StartPage and EndPage only bracket the drawing.
class WxPrinterPageService : public IPrintPageService {
public:
    // `dpi` from the printout's printer resolution; `paperX`, `paperY` (zero or negative),
    // `paperWidth`, `paperHeight` the paper's rectangle in device pixels, measured from the
    // printable area's corner.
    WxPrinterPageService(wxDC& dc, int dpi, int paperX, int paperY, int paperWidth,
                         int paperHeight);

    PrintPageSetup Setup() const override { return setup_; }
    bool StartDoc(const std::string&) override { return true; }
    bool StartPage() override;
    cairo_t* PageContext() override { return cr_; }
    bool EndPage() override;
    bool EndDoc() override { return cr_ == nullptr; }
    void AbortDoc() override { EndPage(); }

private:
    wxDC& dc_;
    PrintPageSetup setup_;
    cairo_t* cr_ = nullptr;
};
