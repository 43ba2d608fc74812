#pragma once
#include <wx/dialog.h>

class CImageFilter;
class wxNotebook;
class wxStaticBitmap;
class wxTextCtrl;

// The filter preview's window: the input and output previews, the filter pages in a notebook
// (the tab control) and PREVIEW, which shows the current page's filter on the output side.
// The filter-stack list and its two buttons are shown and do nothing.
class ImageFilterWindow : public wxDialog {
public:
    static constexpr int kPagesId = 1085;

    ImageFilterWindow(wxWindow* parent, CImageFilter& values);

private:
    wxWindow* MakeMedianPage(wxNotebook* book);
    wxWindow* MakeContourPage(wxNotebook* book);
    wxWindow* MakeCircleTransformPage(wxNotebook* book);
    void OnPreview(wxCommandEvent& event);
    void OnPageChanged();
    // The median page's edit into its value; false (message shown) when refused.
    bool ReadMedianPage();

    CImageFilter& values_;
    wxNotebook* pages_;
    wxStaticBitmap* inputPreview_;
    wxStaticBitmap* outputPreview_;
    wxTextCtrl* kernelSize_ = nullptr;
};
