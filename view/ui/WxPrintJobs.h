#pragma once
#include "view/IPrintJobs.h"

#include <functional>

class WxPrintSession;
class wxWindow;

// The view's printing on the toolkit: the options dialog, print runs through the session's
// printer and the preview window.
class WxPrintJobs : public IPrintJobs {
public:
    static constexpr const char* kNoPrinter =
        "No printer is available. Use Select Printer in the print dialog to choose a printer "
        "or to print to a file.";
    static constexpr const char* kPrinterMissing = "The printer \"%s\" was not found.";
    static constexpr const char* kFailed = "The maze could not be printed.";

    // `parent` gives the window the dialogs belong to (none while the program has no window).
    WxPrintJobs(WxPrintSession& session, std::function<wxWindow*()> parent)
        : session_(session), parent_(std::move(parent)) {}

    bool AskOptions(MazePrintDialogValues& values) override;
    bool Print(IRenderView& view, const PrintPagePlan& plan, bool choosePrinter,
               const std::string& printer) override;
    void Preview(IRenderView& view, const PrintPagePlan& plan) override;

private:
    wxWindow* Parent() const { return parent_ ? parent_() : nullptr; }

    WxPrintSession& session_;
    std::function<wxWindow*()> parent_;
};
