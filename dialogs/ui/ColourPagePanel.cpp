#include "dialogs/ui/ColourPagePanel.h"

#include "controls/ui/CFODropColorButton.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

// Labels in the order of ColourPage::kFields.
constexpr const char* kLabels[] = {
    "Wall pen:",     "Erased cells:", "Blackened cells:", "Solution:", "Start:",
    "Hidden start:", "Stop:",         "Hidden stop:"};

} // namespace

ColourPagePanel::ColourPagePanel(wxWindow* parent, PP6& values)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL, "Color"),
      page_(values, *this) {
    auto* grid = new wxFlexGridSizer(2, wxSize(8, 4));
    for (std::size_t i = 0; i < ColourPage::kFields.size(); ++i) {
        grid->Add(new wxStaticText(this, wxID_ANY, kLabels[i]), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(new CFODropColorButton(this, ColourPage::kFields[i].id, wxDefaultPosition,
                                         wxSize(80, 21)));
    }
    auto* restore = new wxButton(this, ColourPage::kRestoreDefaultsId, "Restore Defaults");
    restore->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { page_.RestoreDefaults(); });
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(grid, 0, wxALL, 8);
    column->Add(restore, 0, wxLEFT | wxBOTTOM, 8);
    SetSizerAndFit(column);
    page_.Load();
}

bool ColourPagePanel::TransferDataToWindow() {
    page_.Load();
    Refresh(false);
    return true;
}

bool ColourPagePanel::TransferDataFromWindow() {
    page_.Save();
    return true;
}

bool ColourPagePanel::GetButtonColor(int id, COLORREF& color) const {
    return DDX_FODropColorButton(*this, id, color, true);
}

void ColourPagePanel::SetButtonColor(int id, COLORREF color) {
    if (DDX_FODropColorButton(*this, id, color, false))
        FindWindow(id)->Refresh(false);
}
