#pragma once
#include "platform/IPrintPageService.h"

#include <memory>

class RasterSurface;

// Prints each page into a picture of the whole paper at the setup's resolution: what a print
// preview shows. The last finished page stays readable until the next one starts.
class RasterPrintPageService : public IPrintPageService {
public:
    explicit RasterPrintPageService(PrintPageSetup setup) : setup_(setup) {}
    ~RasterPrintPageService() override;
    RasterPrintPageService(const RasterPrintPageService&) = delete;
    RasterPrintPageService& operator=(const RasterPrintPageService&) = delete;

    PrintPageSetup Setup() const override { return setup_; }
    bool StartDoc(const std::string& title) override;
    // False when the paper's picture would be too large to hold.
    bool StartPage() override;
    cairo_t* PageContext() override { return inPage_ ? cr_ : nullptr; }
    bool EndPage() override;
    bool EndDoc() override { return !inPage_; }
    void AbortDoc() override;

    std::shared_ptr<RasterSurface> Page() const { return page_; }

private:
    void DropContext();

    PrintPageSetup setup_;
    std::shared_ptr<RasterSurface> page_;
    cairo_t* cr_ = nullptr;
    bool inPage_ = false;
};
