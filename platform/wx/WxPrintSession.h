#pragma once
#include <wx/cmndata.h>

#include <memory>
#include <string>

class wxPrintout;
class wxWindow;

// The printer and paper chosen while the program runs: Print Setup changes them, a print run
// with the printer dialog keeps the printer chosen there, and every other run uses them.
class WxPrintSession {
public:
    enum class Outcome { Printed, Cancelled, NoPrinter, Failed };

    // Made at first use: print data made before the toolkit starts belongs to no printer
    // system the toolkit can use.
    wxPrintData& Data();
    // The page setup dialog on the kept data; false when cancelled.
    bool PageSetup(wxWindow* parent);
    // Prints `printout`: on `printer` when named, else after the printer dialog (page
    // numbers off) when `choosePrinter`, else on the kept printer or the default one.
    // NoPrinter when the printer to print on is not there.
    Outcome Print(wxWindow* parent, wxPrintout& printout, bool choosePrinter,
                  const std::string& printer);

private:
    std::unique_ptr<wxPrintData> data_;
};
