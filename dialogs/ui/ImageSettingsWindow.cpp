#include "dialogs/ui/ImageSettingsWindow.h"

#include "dialogs/CImageSettingsDialog.h"
#include "dialogs/ui/RasterWxBitmap.h"

#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

ImageSettingsWindow::ImageSettingsWindow(wxWindow* parent, CImageSettingsDialog& values)
    : wxDialog(parent, wxID_ANY, "Image Settings"), values_(values) {
    using D = CImageSettingsDialog;
    values_.opacity = std::clamp(values_.opacity, 0, D::kMaxOpacity);
    slider_ = new wxSlider(this, D::kSliderId, values_.opacity, 0, D::kMaxOpacity,
                           wxDefaultPosition, wxSize(260, -1), wxSL_HORIZONTAL | wxSL_AUTOTICKS);
    slider_->SetTickFreq(16);
    slider_->SetTick(127);
    percent_ = new wxStaticText(this, D::kPercentId, "", wxDefaultPosition, wxSize(50, -1));
    auto* sliderRow = new wxBoxSizer(wxHORIZONTAL);
    sliderRow->Add(new wxStaticText(this, wxID_ANY, "Transparent"), 0, wxALIGN_CENTER_VERTICAL);
    sliderRow->Add(slider_, 0, wxLEFT | wxRIGHT, 6);
    sliderRow->Add(new wxStaticText(this, wxID_ANY, "Opaque"), 0, wxALIGN_CENTER_VERTICAL);
    sliderRow->Add(percent_, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 10);

    auto* params = new wxStaticBoxSizer(wxVERTICAL, this, "Image Params");
    wxWindow* box = params->GetStaticBox();
    wide_ = new wxStaticText(box, D::kWideId, "");
    high_ = new wxStaticText(box, D::kHighId, "");
    bpp_ = new wxStaticText(box, D::kBppId, "");
    transparency_ = new wxStaticText(box, D::kTransparencyId, "");
    for (wxStaticText* label : {wide_, high_, bpp_, transparency_})
        params->Add(label, 0, wxALL, 3);

    preview_ = new wxStaticBitmap(this, D::kPreviewId, wxBitmap(), wxDefaultPosition,
                                  wxSize(D::kPreviewWidth, D::kPreviewHeight));
    auto* middle = new wxBoxSizer(wxHORIZONTAL);
    middle->Add(params, 0, wxALL, 6);
    middle->Add(preview_, 0, wxALL, 6);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(sliderRow, 0, wxALL, 8);
    top->Add(middle);
    top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);
    slider_->Bind(wxEVT_SLIDER, &ImageSettingsWindow::OnSlider, this);
    values_.UpdatePreview();
    ShowValues();
}

void ImageSettingsWindow::ShowValues() {
    percent_->SetLabel(values_.PercentText());
    wide_->SetLabel(values_.WideText());
    high_->SetLabel(values_.HighText());
    bpp_->SetLabel(values_.BppText());
    transparency_->SetLabel(values_.TransparencyText());
    preview_->SetBitmap(RasterWxBitmap(values_.preview));
    preview_->Refresh();
}

void ImageSettingsWindow::OnSlider(wxCommandEvent&) {
    values_.SetOpacity(slider_->GetValue());
    ShowValues();
}
