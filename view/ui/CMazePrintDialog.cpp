#include "view/ui/CMazePrintDialog.h"

#include "platform/MessageBox.h"
#include "view/MazePrintDialogValues.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

constexpr const char* kLayerCaptions[4] = {"Background", "Maze", "Foreground", "Text"};

} // namespace

CMazePrintDialog::CMazePrintDialog(wxWindow* parent, MazePrintDialogValues& values)
    : wxDialog(parent, wxID_ANY, MazePrintDialogValues::kTitle), values_(values) {
    using V = MazePrintDialogValues;
    const V::Controls shown = values.ToControls();
    auto* kinds = new wxBoxSizer(wxHORIZONTAL);
    const auto kindBox = [&](bool solutionPage, wxCheckBox*& check) {
        auto* box = new wxStaticBoxSizer(wxVERTICAL, this, solutionPage ? "Solution" : "Maze");
        wxWindow* inside = box->GetStaticBox();
        check = new wxCheckBox(inside, solutionPage ? V::kSolutionId : V::kMazeId,
                               solutionPage ? "Maze Solution" : "Maze");
        check->SetValue(solutionPage ? shown.solution : shown.maze);
        box->Add(check, 0, wxALL, 4);
        const int first = solutionPage ? V::kFirstSolutionLayerId : V::kFirstMazeLayerId;
        for (int layer = 1; layer <= 4; ++layer) {
            auto* layerBox = new wxCheckBox(inside, first + layer - 1, kLayerCaptions[layer - 1]);
            layerBox->SetValue(solutionPage ? shown.solutionLayers[layer]
                                            : shown.mazeLayers[layer]);
            layers_[(solutionPage ? 4 : 0) + layer - 1] = layerBox;
            box->Add(layerBox, 0, wxLEFT | wxRIGHT | wxBOTTOM, 4);
        }
        kinds->Add(box, 1, wxALL | wxEXPAND, 4);
        check->Bind(wxEVT_CHECKBOX, &CMazePrintDialog::OnPageKind, this);
    };
    kindBox(false, maze_);
    kindBox(true, solution_);

    compatible_ = new wxCheckBox(this, V::kCompatibleId, "Print Most Compatible ");
    compatible_->SetValue(shown.compatible);
    auto* countRow = new wxBoxSizer(wxHORIZONTAL);
    count_ = new wxTextCtrl(this, V::kCountId, shown.count);
    count_->SetEditable(values.CountEditable());
    countRow->Add(new wxStaticText(this, wxID_ANY, "Number of Mazes to Print: "), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    countRow->Add(count_);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* select = new wxButton(this, V::kSelectPrinterId, "Select Printer");
    auto* print = new wxButton(this, wxID_OK, "PRINT");
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    print->SetDefault();
    buttons->Add(select, 0, wxRIGHT, 6);
    buttons->AddStretchSpacer();
    buttons->Add(print, 0, wxRIGHT, 6);
    buttons->Add(cancel);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(kinds, 0, wxALL | wxEXPAND, 4);
    top->Add(compatible_, 0, wxALL, 8);
    top->Add(countRow, 0, wxALL, 8);
    top->Add(buttons, 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);
    EnableLayerBoxes();
    Bind(wxEVT_BUTTON, &CMazePrintDialog::OnOk, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CMazePrintDialog::OnSelectPrinter, this, V::kSelectPrinterId);
}

void CMazePrintDialog::EnableLayerBoxes() {
    for (int i = 0; i < 4; ++i) {
        layers_[i]->Enable(maze_->GetValue());
        layers_[4 + i]->Enable(solution_->GetValue());
    }
}

void CMazePrintDialog::OnPageKind(wxCommandEvent&) {
    EnableLayerBoxes();
}

bool CMazePrintDialog::Accept() {
    MazePrintDialogValues::Controls controls;
    controls.maze = maze_->GetValue();
    controls.solution = solution_->GetValue();
    controls.compatible = compatible_->GetValue();
    for (int layer = 1; layer <= 4; ++layer) {
        controls.mazeLayers[layer] = layers_[layer - 1]->GetValue();
        controls.solutionLayers[layer] = layers_[4 + layer - 1]->GetValue();
    }
    controls.count = count_->GetValue().utf8_string();
    if (auto error = values_.FromControls(controls)) {
        AfxMessageBox(error->message, MB_ICONWARNING);
        count_->SetFocus();
        count_->SelectAll();
        return false;
    }
    return true;
}

void CMazePrintDialog::OnOk(wxCommandEvent&) {
    if (Accept())
        EndModal(wxID_OK);
}

void CMazePrintDialog::OnSelectPrinter(wxCommandEvent&) {
    if (!Accept())
        return;
    values_.selectPrinter = 1;
    EndModal(wxID_OK);
}
