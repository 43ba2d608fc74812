#include "platform/wx/WxPrintSession.h"

#include <wx/log.h>
#include <wx/print.h>
#include <wx/printdlg.h>

bool WxPrintSession::PageSetup(wxWindow* parent) {
    wxPageSetupDialogData setup(data_);
    wxPageSetupDialog dialog(parent, &setup);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    data_ = dialog.GetPageSetupDialogData().GetPrintData();
    return true;
}

WxPrintSession::Outcome WxPrintSession::Print(wxWindow* parent, wxPrintout& printout,
                                              bool choosePrinter, const std::string& printer) {
    wxPrintData data = data_;
    if (!printer.empty())
        data.SetPrinterName(wxString::FromUTF8(printer));
    wxPrintDialogData dialogData(data);
    dialogData.EnablePageNumbers(false);
    dialogData.EnableSelection(false);
    wxPrinter job(&dialogData);
    bool printed = false;
    {
        // The toolkit logs its own failure text; the caller says what went wrong instead.
        wxLogNull quiet;
        printed = job.Print(parent, &printout, choosePrinter && printer.empty());
    }
    if (printed) {
        if (choosePrinter)
            data_ = job.GetPrintDialogData().GetPrintData();
        return Outcome::Printed;
    }
    return wxPrinter::GetLastError() == wxPRINTER_CANCELLED ? Outcome::Cancelled : Outcome::Failed;
}
