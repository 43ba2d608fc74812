// The view's print commands: the options dialog and the print run, the preview, and the
// printer report.
#include "view/CGridloomView.h"

#include "document/CGridloomDoc.h"
#include "platform/IClipboard.h"
#include "res/CommandIds.h"
#include "view/IPrintJobs.h"
#include "view/MazePrintDialogValues.h"
#include "view/PrinterReport.h"

void CGridloomView::MapPrintCommands() {
    OnCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        CCmdTarget::OnUpdate(id, [this](CCmdUI& ui) { ui.Enable(printJobs_ && HasLevels()); });
}

void CGridloomView::OnFilePrint() {
    CGridloomDoc* doc = GetDocument();
    if (!printJobs_ || !HasLevels())
        return;
    MazePrintDialogValues values;
    values.settings.Load(doc->Profile());
    values.countReadOnly = 0;
    if (!printJobs_->AskOptions(values))
        return;
    printSettings_ = values.settings;
    printSettings_.Save(doc->Profile());
    const PrintPagePlan plan(printSettings_, false);
    if (plan.PageCount() == 0)
        return;
    printJobs_->Print(*this, plan, values.selectPrinter != 0, {});
}

void CGridloomView::OnFilePrintPreview() {
    CGridloomDoc* doc = GetDocument();
    if (!printJobs_ || !HasLevels())
        return;
    printSettings_.Load(doc->Profile());
    const PrintPagePlan plan(printSettings_, true);
    if (plan.PageCount() > 0)
        printJobs_->Preview(*this, plan);
}

bool CGridloomView::PrintStored(const std::string& printer) {
    CGridloomDoc* doc = GetDocument();
    if (!printJobs_ || !HasLevels())
        return false;
    printSettings_.Load(doc->Profile());
    const PrintPagePlan plan(printSettings_, false);
    return plan.PageCount() > 0 && printJobs_->Print(*this, plan, false, printer);
}

void CGridloomView::BeginPrinting() {
    SetActiveLayer(0);
}

void CGridloomView::EndPrinting() {
    SetActiveLayer(-1);
    // The pages may have grown new mazes; the screen shows the last one.
    if (CGridloomDoc* doc = GetDocument()) {
        doc->reRender = 1;
        doc->UpdateAllViews(nullptr);
    }
}

void CGridloomView::PrintDebugInfo(const CDC& dc) {
    clipboard_->WriteText(PrinterReport::Text(dc));
}
