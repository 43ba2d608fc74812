#include "dialogs/ui/ImageFilterWindow.h"

#include "dialogs/CImageFilter.h"
#include "dialogs/ui/RasterWxBitmap.h"
#include "platform/MessageBox.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

wxStaticBitmap* PreviewBox(wxWindow* parent, wxSizer* row, int id, const char* title,
                           const CRaster& picture) {
    auto* box = new wxStaticBoxSizer(wxVERTICAL, parent, title);
    auto* control =
        new wxStaticBitmap(box->GetStaticBox(), id, RasterWxBitmap(picture), wxDefaultPosition,
                           wxSize(CImageFilter::kPreviewWidth, CImageFilter::kPreviewHeight));
    box->Add(control, 0, wxALL, 4);
    row->Add(box, 0, wxALL, 6);
    return control;
}

} // namespace

ImageFilterWindow::ImageFilterWindow(wxWindow* parent, CImageFilter& values)
    : wxDialog(parent, wxID_ANY, "Orlimber Live Filter Post Processing"), values_(values) {
    values_.Prepare();
    auto* previews = new wxBoxSizer(wxHORIZONTAL);
    inputPreview_ = PreviewBox(this, previews, CImageFilter::kInputPreviewId, "Input Image",
                               values_.inputPreview);
    outputPreview_ = PreviewBox(this, previews, CImageFilter::kOutputPreviewId, "Output Image",
                                values_.outputPreview);

    auto* stackBox = new wxStaticBoxSizer(wxVERTICAL, this, "Filter Stack");
    stackBox->Add(new wxListBox(stackBox->GetStaticBox(), CImageFilter::kFilterStackId,
                                wxDefaultPosition, wxSize(160, 120)),
                  1, wxALL | wxEXPAND, 4);
    auto* arrows = new wxBoxSizer(wxHORIZONTAL);
    arrows->Add(new wxButton(stackBox->GetStaticBox(), CImageFilter::kAddFilterId, ">>>"));
    arrows->Add(new wxButton(stackBox->GetStaticBox(), CImageFilter::kRemoveFilterId, "<<<"));
    stackBox->Add(arrows, 0, wxALL, 4);

    pages_ = new wxNotebook(this, kPagesId);
    pages_->AddPage(MakeMedianPage(pages_), CFilterTabCtrl::TabText(CFilterTabCtrl::kMedian));
    pages_->AddPage(MakeContourPage(pages_), CFilterTabCtrl::TabText(CFilterTabCtrl::kContour));
    pages_->AddPage(MakeCircleTransformPage(pages_),
                    CFilterTabCtrl::TabText(CFilterTabCtrl::kCircleTransform));
    pages_->SetSelection(size_t(values_.tabs.Current()));
    pages_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent&) { OnPageChanged(); });

    auto* controls = new wxBoxSizer(wxHORIZONTAL);
    controls->Add(stackBox, 0, wxALL | wxEXPAND, 6);
    controls->Add(pages_, 1, wxALL | wxEXPAND, 6);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, CImageFilter::kPreviewId, "PREVIEW"), 0, wxRIGHT, 12);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(previews);
    top->Add(controls, 0, wxEXPAND);
    top->Add(buttons, 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &ImageFilterWindow::OnPreview, this, CImageFilter::kPreviewId);
}

wxWindow* ImageFilterWindow::MakeMedianPage(wxNotebook* book) {
    auto* page = new wxPanel(book);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    kernelSize_ =
        new wxTextCtrl(page, CDFilterMedian::kKernelSizeId, values_.tabs.Median().KernelText());
    row->Add(new wxStaticText(page, wxID_ANY, "KFactor (Size):"), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    row->Add(kernelSize_);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(row, 0, wxALL, 10);
    page->SetSizer(sizer);
    return page;
}

wxWindow* ImageFilterWindow::MakeContourPage(wxNotebook* book) {
    auto* page = new wxPanel(book);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(page, wxID_ANY, "No Parameters for Contour"), 0, wxALL, 10);
    page->SetSizer(sizer);
    return page;
}

wxWindow* ImageFilterWindow::MakeCircleTransformPage(wxNotebook* book) {
    auto* page = new wxPanel(book);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(page, wxID_ANY, "CIRCLE TYPE:"), 0, wxLEFT | wxTOP, 10);
    sizer->Add(new wxTextCtrl(page, CDFilterCircleTransform::kEditId), 0, wxLEFT | wxTOP, 10);
    sizer->Add(
        new wxListBox(page, CDFilterCircleTransform::kListId, wxDefaultPosition, wxSize(140, 60)),
        0, wxALL, 10);
    page->SetSizer(sizer);
    return page;
}

void ImageFilterWindow::OnPageChanged() {
    const int selection = pages_->GetSelection();
    if (selection >= 0)
        values_.tabs.Select(selection);
}

bool ImageFilterWindow::ReadMedianPage() {
    if (auto error = values_.tabs.Median().TakeKernelText(kernelSize_->GetValue().ToStdString())) {
        AfxMessageBox(error->message, MB_ICONWARNING);
        kernelSize_->SetFocus();
        kernelSize_->SelectAll();
        return false;
    }
    return true;
}

void ImageFilterWindow::OnPreview(wxCommandEvent&) {
    if (values_.tabs.Current() == CFilterTabCtrl::kMedian && !ReadMedianPage())
        return;
    if (values_.Preview()) {
        outputPreview_->SetBitmap(RasterWxBitmap(values_.outputPreview));
        outputPreview_->Refresh();
    }
}
