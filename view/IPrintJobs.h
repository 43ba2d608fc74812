#pragma once
#include <string>

class IRenderView;
class MazePrintDialogValues;
class PrintPagePlan;

// The system's printing as the view uses it; the window layer provides it.
class IPrintJobs {
public:
    virtual ~IPrintJobs() = default;
    // Shows the print options dialog; false when it was cancelled.
    virtual bool AskOptions(MazePrintDialogValues& values) = 0;
    // Prints the plan's pages through `view`: on `printer` when named, else after the
    // printer dialog when `choosePrinter`, else on the printer chosen last or the default
    // one. True only when every page printed; failures have been shown.
    virtual bool Print(IRenderView& view, const PrintPagePlan& plan, bool choosePrinter,
                       const std::string& printer) = 0;
    // Shows the plan's pages in a preview window.
    virtual void Preview(IRenderView& view, const PrintPagePlan& plan) = 0;
};
