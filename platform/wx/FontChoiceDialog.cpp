#include "platform/wx/FontChoiceDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clrpicker.h>
#include <wx/fontenum.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

namespace {

wxColour ToWx(COLORREF c) {
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromWx(const wxColour& c) {
    return RGB(c.Red(), c.Green(), c.Blue());
}

wxArrayString SortedFaces() {
    wxArrayString faces = wxFontEnumerator::GetFacenames();
    faces.Sort([](const wxString& a, const wxString& b) { return a.CmpNoCase(b); });
    return faces;
}

} // namespace

FontChoiceDialog::FontChoiceDialog(wxWindow* parent, const FontChoice& start)
    : wxDialog(parent, wxID_ANY, "Font", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    BuildControls();
    ShowChoice(start);
}

void FontChoiceDialog::BuildControls() {
    faces_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(220, 200), SortedFaces(),
                           wxLB_SINGLE);
    faces_->SetName("family");
    bold_ = new wxCheckBox(this, wxID_ANY, "&Bold");
    bold_->SetName("bold");
    italic_ = new wxCheckBox(this, wxID_ANY, "&Italic");
    italic_->SetName("italic");
    size_ = new wxSpinCtrlDouble(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, FontChoice::kMinTenths / 10.0,
                                 FontChoice::kMaxTenths / 10.0, 12.0, 0.5);
    size_->SetDigits(1);
    size_->SetName("size");
    underline_ = new wxCheckBox(this, wxID_ANY, "&Underline");
    underline_->SetName("underline");
    strikeOut_ = new wxCheckBox(this, wxID_ANY, "Stri&keout");
    strikeOut_->SetName("strikeout");
    colour_ = new wxColourPickerCtrl(this, wxID_ANY);
    colour_->SetName("colour");
    sample_ = new wxStaticText(this, wxID_ANY, "AaBbYyZz", wxDefaultPosition, wxSize(260, 80),
                               wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    sample_->SetName("sample");

    auto* style = new wxBoxSizer(wxVERTICAL);
    style->Add(new wxStaticText(this, wxID_ANY, "&Size (points):"));
    style->Add(size_, 0, wxEXPAND | wxBOTTOM, 8);
    style->Add(bold_, 0, wxBOTTOM, 4);
    style->Add(italic_, 0, wxBOTTOM, 4);
    style->Add(underline_, 0, wxBOTTOM, 4);
    style->Add(strikeOut_, 0, wxBOTTOM, 8);
    style->Add(new wxStaticText(this, wxID_ANY, "&Color:"));
    style->Add(colour_, 0, wxEXPAND);

    auto* family = new wxBoxSizer(wxVERTICAL);
    family->Add(new wxStaticText(this, wxID_ANY, "&Font:"));
    family->Add(faces_, 1, wxEXPAND);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(family, 1, wxEXPAND | wxRIGHT, 10);
    top->Add(style, 0, wxEXPAND);

    auto* all = new wxBoxSizer(wxVERTICAL);
    all->Add(top, 1, wxEXPAND | wxALL, 10);
    all->Add(new wxStaticText(this, wxID_ANY, "Sample"), 0, wxLEFT | wxRIGHT, 10);
    all->Add(sample_, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    all->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(all);

    const auto changed = [this](wxEvent& event) {
        UpdateSample();
        event.Skip();
    };
    faces_->Bind(wxEVT_LISTBOX, changed);
    for (wxCheckBox* box : {bold_, italic_, underline_, strikeOut_})
        box->Bind(wxEVT_CHECKBOX, changed);
    size_->Bind(wxEVT_SPINCTRLDOUBLE, changed);
    colour_->Bind(wxEVT_COLOURPICKER_CHANGED, changed);
}

void FontChoiceDialog::ShowChoice(const FontChoice& c) {
    int at = faces_->FindString(wxString::FromUTF8(c.face));
    // A face this system lacks: the nearest the toolkit offers stands in, as the sample shows.
    if (at == wxNOT_FOUND)
        at = faces_->FindString(
            wxFont(wxFontInfo(12).FaceName(wxString::FromUTF8(c.face))).GetFaceName());
    if (at != wxNOT_FOUND) {
        faces_->SetSelection(at);
        faces_->EnsureVisible(at);
    }
    bold_->SetValue(c.bold);
    italic_->SetValue(c.italic);
    size_->SetValue(FontChoice::ClampTenths(c.tenths) / 10.0);
    underline_->SetValue(c.underline);
    strikeOut_->SetValue(c.strikeOut);
    colour_->SetColour(ToWx(c.colour));
    UpdateSample();
}

FontChoice FontChoiceDialog::Choice() const {
    FontChoice c;
    if (faces_->GetSelection() != wxNOT_FOUND)
        c.face = faces_->GetStringSelection().utf8_string();
    c.bold = bold_->GetValue();
    c.italic = italic_->GetValue();
    c.tenths = FontChoice::ClampTenths(static_cast<int>(std::lround(size_->GetValue() * 10.0)));
    c.underline = underline_->GetValue();
    c.strikeOut = strikeOut_->GetValue();
    c.colour = FromWx(colour_->GetColour());
    return c;
}

void FontChoiceDialog::UpdateSample() {
    const FontChoice c = Choice();
    // The sample at its real size up to what the box holds.
    const double points = std::min(c.tenths / 10.0, 36.0);
    wxFontInfo info(wxSize(0, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    info.FaceName(wxString::FromUTF8(c.face))
        .Bold(c.bold)
        .Italic(c.italic)
        .Underlined(c.underline)
        .Strikethrough(c.strikeOut);
    sample_->SetFont(wxFont(info));
    sample_->SetForegroundColour(ToWx(c.colour));
    sample_->Refresh();
}
