#pragma once
#include "view/PrintPagePlan.h"

#include <wx/print.h>

class IRenderView;

// The pages of one print run or preview, drawn by the view: printer pages as vectors on the
// printer's context, preview pages as a picture at the preview's resolution.
class MazePrintout : public wxPrintout {
public:
    MazePrintout(IRenderView& view, const PrintPagePlan& plan, const wxString& title);

    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    void OnBeginPrinting() override;
    void OnEndPrinting() override;
    bool OnBeginDocument(int startPage, int endPage) override;
    bool OnPrintPage(int page) override;

    // The preview window showing these pages, whose zoom sets the pictures' resolution.
    void ShowIn(wxPrintPreview* preview) { preview_ = preview; }
    // The job reached the printer at all, and every page of it printed.
    bool Begun() const { return begun_; }
    bool AllPrinted() const { return begun_ && printed_ == plan_.PageCount() && !failed_; }

private:
    bool PrintOnPrinter(wxDC& dc, int page);
    bool DrawPreview(wxDC& dc, int page);

    IRenderView& view_;
    PrintPagePlan plan_;
    wxPrintPreview* preview_ = nullptr;
    bool begun_ = false;
    bool failed_ = false;
    int printed_ = 0;
};
