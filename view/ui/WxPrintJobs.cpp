#include "view/ui/WxPrintJobs.h"

#include "document/CGridloomDoc.h"
#include "platform/MessageBox.h"
#include "platform/TextFormat.h"
#include "platform/wx/WxPrintSession.h"
#include "view/IRenderView.h"
#include "view/MazePrintDialogValues.h"
#include "view/ui/CMazePrintDialog.h"
#include "view/ui/MazePrintout.h"

#include <wx/printdlg.h>

#include <memory>

namespace {

wxString TitleOf(IRenderView& view) {
    const CGridloomDoc* doc = view.GetDocument();
    return wxString::FromUTF8(doc ? doc->GetTitle() : std::string("Orlimber"));
}

} // namespace

bool WxPrintJobs::AskOptions(MazePrintDialogValues& values) {
    CMazePrintDialog dialog(Parent(), values);
    return dialog.ShowModal() == wxID_OK;
}

bool WxPrintJobs::Print(IRenderView& view, const PrintPagePlan& plan, bool choosePrinter,
                        const std::string& printer) {
    MazePrintout printout(view, plan, TitleOf(view));
    switch (session_.Print(Parent(), printout, choosePrinter, printer)) {
    case WxPrintSession::Outcome::Cancelled:
        return false;
    case WxPrintSession::Outcome::NoPrinter:
        AfxMessageBox(printer.empty() ? kNoPrinter : Format(kPrinterMissing, printer.c_str()),
                      MB_OK | MB_ICONWARNING);
        return false;
    case WxPrintSession::Outcome::Printed:
        if (printout.AllPrinted())
            return true;
        break;
    case WxPrintSession::Outcome::Failed:
        break;
    }
    AfxMessageBox(printout.Begun() ? kFailed : kNoPrinter, MB_OK | MB_ICONWARNING);
    return false;
}

void WxPrintJobs::Preview(IRenderView& view, const PrintPagePlan& plan) {
    wxPrintDialogData data(session_.Data());
    auto* printout = new MazePrintout(view, plan, TitleOf(view));
    auto preview = std::make_unique<wxPrintPreview>(printout, nullptr, &data); // takes it
    printout->ShowIn(preview.get());
    if (!preview->IsOk()) {
        AfxMessageBox(kNoPrinter, MB_OK | MB_ICONWARNING);
        return;
    }
    // The frame owns the preview from here, and wx owns the frame.
    auto* frame = new wxPreviewFrame(preview.release(), Parent(), "Print Preview");
    frame->Initialize();
    frame->Show();
}
