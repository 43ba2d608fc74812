#include "dialogs/ui/SettingsSheetDialog.h"

#include "dialogs/SettingsPageRules.h"
#include "dialogs/ui/RasterWxBitmap.h"
#include "document/SettingsPagesCheck.h"
#include "platform/MessageBox.h"
#include "platform/TextFormat.h"

#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

enum Page { kStyle, kDimensions, kPage, kAdvanced, kGrowth };

wxString Number(float value) {
    return wxString::FromUTF8(Format("%.6g", static_cast<double>(value)));
}

wxString Number(int value) {
    return wxString::Format("%d", value);
}

// Page lengths are kept in 0.001 inch: shown to the last of those, so reading back an
// untouched field gives the value it was filled with.
wxString Inches(float value) {
    std::string text = Format("%.3f", static_cast<double>(value));
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return wxString::FromUTF8(text);
}

std::string Text(wxWindow* edit) {
    return static_cast<wxTextCtrl*>(edit)->GetValue().utf8_string();
}

bool Checked(wxWindow* box) {
    return static_cast<wxCheckBox*>(box)->GetValue();
}

wxCheckBox* Check(wxWindow* parent, int id, const wxString& caption, int value) {
    auto* box = new wxCheckBox(parent, id, caption);
    box->SetValue(value != 0);
    return box;
}

// A label and its edit in one row of a two-column grid.
void Row(wxFlexGridSizer* grid, wxWindow* parent, int labelId, const wxString& caption,
         wxWindow* edit) {
    grid->Add(new wxStaticText(parent, labelId, caption), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid->Add(edit, 0, wxALL, 3);
}

} // namespace

SettingsSheetDialog::SettingsSheetDialog(wxWindow* parent, const std::string& title,
                                         SettingsPages& pages, TileSetCatalogue& sets)
    : pages_(pages), opened_(pages.dimensions), style_(pages.style, sets) {
    Create(parent, wxID_ANY, wxString::FromUTF8(title));
    CreateButtons(wxOK | wxCANCEL);
    wxBookCtrlBase* book = GetBookCtrl();
    const std::array<const char*, 5> captions = {"Style", "Dimensions", "Page", "Advanced",
                                                 "GROWTH"};
    panels_ = {BuildStyle(), BuildDimensions(), BuildPage(), BuildAdvanced(), BuildGrowth()};
    for (std::size_t i = 0; i < panels_.size(); ++i)
        book->AddPage(panels_[i], captions[i]);
    book->SetMinSize(wxSize(520, -1)); // every tab in view
    LayoutDialog();
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGING, &SettingsSheetDialog::OnPageChanging, this);
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, &SettingsSheetDialog::OnPageChanged, this);
    Bind(wxEVT_BUTTON, &SettingsSheetDialog::OnOk, this, wxID_OK);
    BindLive();
    ShowStyle();
}

// ---- live values --------------------------------------------------------------------------

// Every edit reaches the page values at once, so redrawing a page from its values loses no
// typing. A text that does not parse leaves the value alone; leaving the page or OK refuses it.
void SettingsSheetDialog::BindLive() {
    PP1& style = pages_.style;
    LiveCheck(kStyle, 1096, style.wrapHorizontally);
    LiveCheck(kStyle, 1097, style.wrapVertically);
    PP2& dims = pages_.dimensions;
    LiveInt(kDimensions, 1007, dims.cellsLong);
    LiveInt(kDimensions, 1006, dims.cellsWide);
    LiveInt(kDimensions, 1009, dims.innerRadiusCells);
    LiveFloat(kDimensions, 1010, dims.innerRadiusPercent);
    PP3& page = pages_.page;
    LiveFloat(kPage, 1005, page.height);
    LiveFloat(kPage, 1004, page.width);
    LiveFloat(kPage, 1006, page.leftMargin);
    LiveFloat(kPage, 1007, page.topMargin);
    LiveCheck(kPage, 1080, page.printerDebug);
    PP4& advanced = pages_.advanced;
    Field(kAdvanced, 1003)->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        pages_.advanced.seed = event.GetString().utf8_string();
    });
    LiveCheck(kAdvanced, 1050, advanced.erasedVisible);
    LiveInt(kAdvanced, 1027, advanced.penWidth);
    LiveCheck(kAdvanced, 1051, advanced.infoWindow);
    LiveCheck(kAdvanced, 1052, advanced.animate);
    PP5& g = pages_.growth;
    for (const auto& [id, value] :
         {std::pair{1055, &g.e}, std::pair{1051, &g.n}, std::pair{1052, &g.nw},
          std::pair{1053, &g.ne}, std::pair{1058, &g.s}, std::pair{1057, &g.se},
          std::pair{1056, &g.sw}, std::pair{1054, &g.w}})
        LiveInt(kGrowth, id, *value);
}

void SettingsSheetDialog::LiveCheck(int page, int id, int& value) {
    Field(page, id)->Bind(wxEVT_CHECKBOX,
                          [&value](wxCommandEvent& event) { value = event.IsChecked() ? 1 : 0; });
}

void SettingsSheetDialog::LiveInt(int page, int id, int& value) {
    Field(page, id)->Bind(wxEVT_TEXT, [&value](wxCommandEvent& event) {
        int parsed = 0;
        if (ParseInt(event.GetString().utf8_string(), parsed))
            value = parsed;
    });
}

void SettingsSheetDialog::LiveFloat(int page, int id, float& value) {
    Field(page, id)->Bind(wxEVT_TEXT, [&value, id](wxCommandEvent& event) {
        float parsed = 0;
        if (!SettingsPageRules::ReadFloat(id, event.GetString().utf8_string(), parsed))
            value = parsed;
    });
}

wxWindow* SettingsSheetDialog::Field(int page, int id) const {
    return panels_[std::size_t(page)]->FindWindow(id);
}

wxTextCtrl* SettingsSheetDialog::Edit(wxWindow* parent, int id, const wxString& text, int width) {
    return new wxTextCtrl(parent, id, text, wxDefaultPosition, wxSize(width, -1));
}

// ---- Style --------------------------------------------------------------------------------

wxPanel* SettingsSheetDialog::BuildStyle() {
    auto* panel = new wxPanel(GetBookCtrl());
    auto* radios = new wxBoxSizer(wxVERTICAL);
    for (std::size_t i = 0; i < StylePage::kStyles.size(); ++i) {
        const auto& s = StylePage::kStyles[i];
        styleRadios_[i] = new wxRadioButton(panel, s.radioId, s.caption, wxDefaultPosition,
                                            wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        radios->Add(styleRadios_[i], 0, wxALL, 3);
        styleRadios_[i]->Bind(wxEVT_RADIOBUTTON, [this, s](wxCommandEvent&) {
            if (s.tiled)
                style_.ChooseTiled(tilerList_->GetSelection(),
                                   tilerList_->GetStringSelection().utf8_string());
            else
                style_.ChoosePlainStyle(s.radioId);
            ShowStyle();
        });
    }
    tilerList_ = new wxChoice(panel, 1075);
    for (const std::string& text : style_.ListTexts())
        tilerList_->Append(wxString::FromUTF8(text));
    // The list shows the set the document uses, wherever it now stands in the list.
    const int stored = style_.ListIndexFor(pages_.style.tilerId);
    const int index = stored >= 0 ? stored : pages_.style.selectedIndex;
    tilerList_->SetSelection(index >= 0 && index < int(tilerList_->GetCount()) ? index : 0);
    tilerList_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        style_.ChooseTiled(tilerList_->GetSelection(),
                           tilerList_->GetStringSelection().utf8_string());
        ShowStyle();
    });
    preview_ = new wxStaticBitmap(panel, 1036, wxBitmap(), wxDefaultPosition,
                                  wxSize(StylePage::kPreviewSize, StylePage::kPreviewSize));
    wrapH_ = Check(panel, 1096, "Wrap Horizontally", pages_.style.wrapHorizontally);
    wrapV_ = Check(panel, 1097, "Wrap Vertically", pages_.style.wrapVertically);
    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(preview_, 0, wxALL, 6);
    right->Add(tilerList_, 0, wxALL | wxEXPAND, 6);
    right->Add(wrapH_, 0, wxALL, 3);
    right->Add(wrapV_, 0, wxALL, 3);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(radios, 0, wxALL, 6);
    top->Add(right, 1, wxALL, 6);
    panel->SetSizer(top);
    // The first showing shows the stored style; only the user's clicks change the values.
    const int radio = style_.RadioForValues();
    if (radio == StylePage::kTiledRadio)
        style_.ShowStoredSet();
    else
        style_.ChoosePlainStyle(radio);
    return panel;
}

void SettingsSheetDialog::ShowStyle() {
    const int radio = style_.RadioForValues();
    for (wxRadioButton* button : styleRadios_)
        button->SetValue(button->GetId() == radio);
    tilerList_->Enable(style_.ListEnabled());
    wrapH_->Enable(style_.WrapsEnabled());
    wrapV_->Enable(style_.WrapsEnabled());
    preview_->SetBitmap(RasterWxBitmap(style_.Preview()));
    preview_->Refresh();
}

// ---- Dimensions ---------------------------------------------------------------------------

wxPanel* SettingsSheetDialog::BuildDimensions() {
    auto* panel = new wxPanel(GetBookCtrl());
    // Values out of a field's range are shown in it, so that a field the page hides never
    // blocks OK; an untouched field keeps its value (SettingsPageRules::ReadDimensions).
    PP2 v = pages_.dimensions;
    SettingsPageRules::ClampDimensions(v);
    auto* plain = new wxStaticBoxSizer(new wxStaticBox(panel, 1041, "Dimensions"), wxVERTICAL);
    auto* plainGrid = new wxFlexGridSizer(2);
    wxWindow* box = plain->GetStaticBox();
    Row(plainGrid, box, 1045, "Cells Long:", Edit(box, 1007, Number(v.cellsLong)));
    Row(plainGrid, box, 1046, "Cells Wide:", Edit(box, 1006, Number(v.cellsWide)));
    wxTextCtrl* scale = Edit(box, 1008, Number(v.scale));
    Row(plainGrid, box, 1047, "SCALE:", scale);
    box->FindWindow(1047)->Hide();
    scale->Hide();
    scale->Disable();
    plain->Add(plainGrid);
    wxCheckBox* fit = Check(box, 1048, "Fit To Page (ignores SCALE)", v.fitToPage);
    fit->Hide();
    fit->Disable();
    plain->Add(fit, 0, wxALL, 3);

    auto* ring = new wxStaticBoxSizer(new wxStaticBox(panel, 1042, "Circular"), wxVERTICAL);
    auto* ringGrid = new wxFlexGridSizer(2);
    wxWindow* ringBox = ring->GetStaticBox();
    Row(ringGrid, ringBox, 1043,
        "Inner Radius Cells:", Edit(ringBox, 1009, Number(v.innerRadiusCells)));
    Row(ringGrid, ringBox, 1044,
        "% Inner Radius Size:", Edit(ringBox, 1010, Number(v.innerRadiusPercent)));
    ring->Add(ringGrid);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(plain, 0, wxALL | wxEXPAND, 6);
    top->Add(ring, 0, wxALL | wxEXPAND, 6);
    panel->SetSizer(top);
    return panel;
}

void SettingsSheetDialog::ShowDimensions() {
    const bool circular = SettingsPageRules::Circular(pages_.style.kind);
    for (int id : {1042, 1043, 1044})
        Field(kDimensions, id)->Enable(circular);
    for (int id : {1041, 1045, 1046})
        Field(kDimensions, id)->Enable(!circular);
    for (int id : {1009, 1010}) {
        static_cast<wxTextCtrl*>(Field(kDimensions, id))->SetEditable(circular);
        Field(kDimensions, id)->Show(circular);
    }
    for (int id : {1006, 1007}) {
        static_cast<wxTextCtrl*>(Field(kDimensions, id))->SetEditable(!circular);
        Field(kDimensions, id)->Show(!circular);
    }
    panels_[kDimensions]->Layout();
}

// ---- Page, Advanced, GROWTH ---------------------------------------------------------------

wxPanel* SettingsSheetDialog::BuildPage() {
    auto* panel = new wxPanel(GetBookCtrl());
    const PP3& v = pages_.page;
    auto* grid = new wxFlexGridSizer(2);
    Row(grid, panel, wxID_ANY, "Maze Height (inches):", Edit(panel, 1005, Inches(v.height)));
    Row(grid, panel, wxID_ANY, "Maze Width (inches):", Edit(panel, 1004, Inches(v.width)));
    Row(grid, panel, wxID_ANY, "Left Margin (inches):", Edit(panel, 1006, Inches(v.leftMargin)));
    Row(grid, panel, wxID_ANY, "Top Margin (inches):", Edit(panel, 1007, Inches(v.topMargin)));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 6);
    top->Add(Check(panel, 1080, "Enable Printer Debug Information for Support", v.printerDebug), 0,
             wxALL, 6);
    wxCheckBox* centre = Check(panel, 1079, "Auto Center Maze on Page", v.autoCenter);
    centre->Hide();
    top->Add(centre, 0, wxALL, 6);
    panel->SetSizer(top);
    return panel;
}

wxPanel* SettingsSheetDialog::BuildAdvanced() {
    auto* panel = new wxPanel(GetBookCtrl());
    const PP4& v = pages_.advanced;
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* seed = new wxBoxSizer(wxHORIZONTAL);
    seed->Add(new wxStaticText(panel, wxID_ANY, "Random Number Seed"), 0,
              wxALIGN_CENTER_VERTICAL | wxALL, 3);
    seed->Add(Edit(panel, 1003, wxString::FromUTF8(v.seed), 120), 0, wxALL, 3);
    top->Add(seed, 0, wxALL, 3);
    top->Add(Check(panel, 1050, "Make Erased Cells Visible in Layout", v.erasedVisible), 0, wxALL,
             6);
    auto* pen = new wxStaticBoxSizer(wxVERTICAL, panel, "Printing Pen Width");
    wxWindow* box = pen->GetStaticBox();
    const std::pair<int, const char*> radios[] = {
        {SettingsPageRules::kThinnest, "Thinnest!"},
        {SettingsPageRules::kHundredth, "Set to 1/100\""},
        {SettingsPageRules::kThousandths, "Other in X/1000\""}};
    for (const auto& [id, caption] : radios) {
        auto* radio = new wxRadioButton(box, id, caption, wxDefaultPosition, wxDefaultSize,
                                        id == SettingsPageRules::kThinnest ? wxRB_GROUP : 0);
        pen->Add(radio, 0, wxALL, 3);
        radio->Bind(wxEVT_RADIOBUTTON, [this, id = id](wxCommandEvent&) { ShowPen(id); });
    }
    auto* x = new wxBoxSizer(wxHORIZONTAL);
    x->Add(new wxStaticText(box, wxID_ANY, "X="), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    x->Add(Edit(box, 1027, Number(v.penWidth)), 0, wxALL, 3);
    pen->Add(x);
    top->Add(pen, 0, wxALL, 6);
    top->Add(Check(panel, 1051, "Show Updated Information Window", v.infoWindow), 0, wxALL, 6);
    top->Add(Check(panel, 1052, "Animate Maze Creation && Solving", v.animate), 0, wxALL, 6);
    panel->SetSizer(top);
    return panel;
}

void SettingsSheetDialog::ShowPen(int radio) {
    PP4& v = pages_.advanced;
    SettingsPageRules::ChoosePen(radio, v);
    for (int id : {SettingsPageRules::kThinnest, SettingsPageRules::kHundredth,
                   SettingsPageRules::kThousandths})
        static_cast<wxRadioButton*>(Field(kAdvanced, id))->SetValue(id == radio);
    auto* edit = static_cast<wxTextCtrl*>(Field(kAdvanced, 1027));
    // The typed width stays under the X/1000 radio; the others show their own.
    if (radio != SettingsPageRules::kThousandths)
        edit->ChangeValue(Number(v.penWidth));
    edit->SetEditable(SettingsPageRules::PenEditWritable(radio));
}

wxPanel* SettingsSheetDialog::BuildGrowth() {
    auto* panel = new wxPanel(GetBookCtrl());
    const PP5& g = pages_.growth;
    auto* grid = new wxGridSizer(3, 3, 4, 4);
    const std::pair<int, int> layout[] = {{1052, g.nw}, {1051, g.n},      {1053, g.ne},
                                          {1054, g.w},  {1059, g.center}, {1055, g.e},
                                          {1056, g.sw}, {1058, g.s},      {1057, g.se}};
    for (const auto& [id, value] : layout) {
        wxTextCtrl* edit = Edit(panel, id, Number(value), 60);
        if (id == 1059) {
            edit->Hide();
            edit->Disable();
        }
        grid->Add(edit, 0, wxALIGN_CENTER);
    }
    wxCheckBox* relative = Check(panel, 1060, "Movement relative to current direction", g.relative);
    relative->Disable();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 10);
    top->Add(relative, 0, wxALL, 6);
    panel->SetSizer(top);
    return panel;
}

// ---- reading and checking -----------------------------------------------------------------

std::optional<DialogFieldError> SettingsSheetDialog::ReadPage(int page) {
    switch (page) {
    case kStyle:
        pages_.style.wrapHorizontally = wrapH_->GetValue() ? 1 : 0;
        pages_.style.wrapVertically = wrapV_->GetValue() ? 1 : 0;
        return std::nullopt;
    case kDimensions: {
        const SettingsPageRules::DimensionTexts texts{
            Text(Field(page, 1006)), Text(Field(page, 1007)), Text(Field(page, 1009)),
            Text(Field(page, 1010))};
        return SettingsPageRules::ReadDimensions(pages_.style.kind, texts, opened_,
                                                 pages_.dimensions);
    }
    case kPage: {
        const SettingsPageRules::PageTexts texts{Text(Field(page, 1005)), Text(Field(page, 1004)),
                                                 Text(Field(page, 1006)), Text(Field(page, 1007))};
        if (auto error = SettingsPageRules::ReadPageSizes(texts, pages_.page))
            return error;
        pages_.page.printerDebug = Checked(Field(page, 1080));
        return std::nullopt;
    }
    case kAdvanced: {
        PP4& v = pages_.advanced;
        if (static_cast<wxTextCtrl*>(Field(page, 1027))->IsEditable())
            if (auto error = SettingsPageRules::ReadInt(1027, Text(Field(page, 1027)), v.penWidth))
                return error;
        if (auto error = SettingsPageRules::ReadSeed(Text(Field(page, 1003)), v.seed))
            return error;
        v.erasedVisible = Checked(Field(page, 1050));
        v.infoWindow = Checked(Field(page, 1051));
        v.animate = Checked(Field(page, 1052));
        return std::nullopt;
    }
    case kGrowth: {
        PP5 next = pages_.growth;
        for (const auto& [id, value] :
             {std::pair{1055, &next.e}, std::pair{1051, &next.n}, std::pair{1052, &next.nw},
              std::pair{1053, &next.ne}, std::pair{1058, &next.s}, std::pair{1057, &next.se},
              std::pair{1056, &next.sw}, std::pair{1054, &next.w}})
            if (auto error = SettingsPageRules::ReadInt(id, Text(Field(page, id)), *value))
                return error;
        pages_.growth = next;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool SettingsSheetDialog::Refuse(int page, const DialogFieldError& error) {
    GetBookCtrl()->ChangeSelection(std::size_t(page));
    AfxMessageBox(SettingsPageRules::Message(page, error), MB_OK | MB_ICONWARNING);
    if (wxWindow* field = Field(page, error.controlId)) {
        field->SetFocus();
        if (auto* edit = dynamic_cast<wxTextCtrl*>(field))
            edit->SelectAll();
    }
    return false;
}

bool SettingsSheetDialog::ReadPages() {
    for (int page = kStyle; page <= kGrowth; ++page)
        if (auto error = ReadPage(page))
            return Refuse(page, *error);
    // Values each in range may still make no maze together; the sheet stays open for those.
    if (auto refusal = SettingsPagesCheck::For(pages_))
        return Refuse(refusal->page, {refusal->controlId, refusal->message});
    return true;
}

void SettingsSheetDialog::OnPageChanging(wxBookCtrlEvent& event) {
    const int page = event.GetOldSelection();
    if (page < 0)
        return;
    if (auto error = ReadPage(page)) {
        event.Veto();
        CallAfter([this, page, error = *error] { Refuse(page, error); });
    }
}

void SettingsSheetDialog::OnPageChanged(wxBookCtrlEvent& event) {
    if (event.GetSelection() == kDimensions)
        ShowDimensions();
    else if (event.GetSelection() == kAdvanced)
        ShowPen(SettingsPageRules::PenRadioFor(pages_.advanced.penWidth));
    event.Skip();
}

void SettingsSheetDialog::OnOk(wxCommandEvent&) {
    if (ReadPages())
        EndModal(wxID_OK);
}
