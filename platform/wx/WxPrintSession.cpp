#include "platform/wx/WxPrintSession.h"

#include "platform/wx/GtkPrinterList.h"

#include <wx/log.h>
#include <wx/print.h>
#include <wx/printdlg.h>

namespace {

constexpr int kPrinterLookupMs = 5000;

// `wanted` when the desktop has it, else (with none wanted) its default printer; "" when
// there is no such printer. Virtual printers (print to a file) need the printer dialog: the
// toolkit never finishes a job sent to one without it.
std::string FindPrinter(const std::string& wanted) {
    for (const SystemPrinter& p : ListSystemPrinters(wanted, kPrinterLookupMs))
        if (!p.isVirtual && (wanted.empty() ? p.isDefault : p.name == wanted))
            return p.name;
    return {};
}

} // namespace

wxPrintData& WxPrintSession::Data() {
    if (!data_)
        data_ = std::make_unique<wxPrintData>();
    return *data_;
}

bool WxPrintSession::PageSetup(wxWindow* parent) {
    wxPageSetupDialogData setup(Data());
    wxPageSetupDialog dialog(parent, &setup);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    Data() = dialog.GetPageSetupDialogData().GetPrintData();
    return true;
}

WxPrintSession::Outcome WxPrintSession::Print(wxWindow* parent, wxPrintout& printout,
                                              bool choosePrinter, const std::string& printer) {
    wxPrintData data = Data();
    const bool prompt = choosePrinter && printer.empty();
    if (!prompt) {
        // Looked up first: the toolkit would wait for ever for a printer that isn't there.
        const std::string wanted = printer.empty() ? data.GetPrinterName().utf8_string() : printer;
        const std::string found = FindPrinter(wanted);
        if (found.empty())
            return Outcome::NoPrinter;
        data.SetPrinterName(wxString::FromUTF8(found));
    }
    wxPrintDialogData dialogData(data);
    dialogData.EnablePageNumbers(false);
    dialogData.EnableSelection(false);
    wxPrinter job(&dialogData);
    bool printed = false;
    {
        // The toolkit logs its own failure text; the caller says what went wrong instead.
        wxLogNull quiet;
        printed = job.Print(parent, &printout, prompt);
    }
    if (printed) {
        if (choosePrinter)
            Data() = job.GetPrintDialogData().GetPrintData();
        return Outcome::Printed;
    }
    return wxPrinter::GetLastError() == wxPRINTER_CANCELLED ? Outcome::Cancelled : Outcome::Failed;
}
