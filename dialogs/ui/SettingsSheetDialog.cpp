#include "dialogs/ui/SettingsSheetDialog.h"

#include "dialogs/SettingsPageRules.h"
#include "dialogs/ui/RasterWxBitmap.h"
#include "document/SettingsPagesCheck.h"
#include "forms/ControlIds.h"
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

namespace Id = ControlIds;

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
    LiveCheck(kStyle, Id::Style::kWrapHorizontally, style.wrapHorizontally);
    LiveCheck(kStyle, Id::Style::kWrapVertically, style.wrapVertically);
    PP2& dims = pages_.dimensions;
    LiveInt(kDimensions, Id::Dimensions::kCellsLong, dims.cellsLong);
    LiveInt(kDimensions, Id::Dimensions::kCellsWide, dims.cellsWide);
    LiveInt(kDimensions, Id::Dimensions::kInnerCells, dims.innerRadiusCells);
    LiveFloat(kDimensions, Id::Dimensions::kInnerPercent, dims.innerRadiusPercent);
    PP3& page = pages_.page;
    LiveFloat(kPage, Id::Page::kHeight, page.height);
    LiveFloat(kPage, Id::Page::kWidth, page.width);
    LiveFloat(kPage, Id::Page::kLeftMargin, page.leftMargin);
    LiveFloat(kPage, Id::Page::kTopMargin, page.topMargin);
    LiveCheck(kPage, Id::Page::kPrinterDebug, page.printerDebug);
    PP4& advanced = pages_.advanced;
    Field(kAdvanced, Id::Advanced::kSeed)->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        pages_.advanced.seed = event.GetString().utf8_string();
    });
    LiveCheck(kAdvanced, Id::Advanced::kErasedVisible, advanced.erasedVisible);
    LiveInt(kAdvanced, Id::Advanced::kPenWidth, advanced.penWidth);
    LiveCheck(kAdvanced, Id::Advanced::kInfoWindow, advanced.infoWindow);
    LiveCheck(kAdvanced, Id::Advanced::kAnimate, advanced.animate);
    PP5& g = pages_.growth;
    for (const auto& [id, value] :
         {std::pair{Id::Growth::kE, &g.e}, std::pair{Id::Growth::kN, &g.n},
          std::pair{Id::Growth::kNW, &g.nw}, std::pair{Id::Growth::kNE, &g.ne},
          std::pair{Id::Growth::kS, &g.s}, std::pair{Id::Growth::kSE, &g.se},
          std::pair{Id::Growth::kSW, &g.sw}, std::pair{Id::Growth::kW, &g.w}})
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
    tilerList_ = new wxChoice(panel, Id::Style::kTileSetList);
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
    preview_ = new wxStaticBitmap(panel, Id::Style::kPreview, wxBitmap(), wxDefaultPosition,
                                  wxSize(StylePage::kPreviewSize, StylePage::kPreviewSize));
    wrapH_ = Check(panel, Id::Style::kWrapHorizontally, "Wrap Horizontally",
                   pages_.style.wrapHorizontally);
    wrapV_ =
        Check(panel, Id::Style::kWrapVertically, "Wrap Vertically", pages_.style.wrapVertically);
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
    if (radio == Id::Style::kTiled)
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
    auto* plain = new wxStaticBoxSizer(
        new wxStaticBox(panel, Id::Dimensions::kPlainBox, "Dimensions"), wxVERTICAL);
    auto* plainGrid = new wxFlexGridSizer(2);
    wxWindow* box = plain->GetStaticBox();
    Row(plainGrid, box, Id::Dimensions::kCellsLongLabel,
        "Cells Long:", Edit(box, Id::Dimensions::kCellsLong, Number(v.cellsLong)));
    Row(plainGrid, box, Id::Dimensions::kCellsWideLabel,
        "Cells Wide:", Edit(box, Id::Dimensions::kCellsWide, Number(v.cellsWide)));
    wxTextCtrl* scale = Edit(box, Id::Dimensions::kScale, Number(v.scale));
    Row(plainGrid, box, Id::Dimensions::kScaleLabel, "SCALE:", scale);
    box->FindWindow(Id::Dimensions::kScaleLabel)->Hide();
    scale->Hide();
    scale->Disable();
    plain->Add(plainGrid);
    wxCheckBox* fit =
        Check(box, Id::Dimensions::kFitToPage, "Fit To Page (ignores SCALE)", v.fitToPage);
    fit->Hide();
    fit->Disable();
    plain->Add(fit, 0, wxALL, 3);

    auto* ring = new wxStaticBoxSizer(
        new wxStaticBox(panel, Id::Dimensions::kCircularBox, "Circular"), wxVERTICAL);
    auto* ringGrid = new wxFlexGridSizer(2);
    wxWindow* ringBox = ring->GetStaticBox();
    Row(ringGrid, ringBox, Id::Dimensions::kInnerCellsLabel, "Inner Radius Cells:",
        Edit(ringBox, Id::Dimensions::kInnerCells, Number(v.innerRadiusCells)));
    Row(ringGrid, ringBox, Id::Dimensions::kInnerPercentLabel, "% Inner Radius Size:",
        Edit(ringBox, Id::Dimensions::kInnerPercent, Number(v.innerRadiusPercent)));
    ring->Add(ringGrid);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(plain, 0, wxALL | wxEXPAND, 6);
    top->Add(ring, 0, wxALL | wxEXPAND, 6);
    panel->SetSizer(top);
    return panel;
}

void SettingsSheetDialog::ShowDimensions() {
    const bool circular = SettingsPageRules::Circular(pages_.style.kind);
    for (int id : {Id::Dimensions::kCircularBox, Id::Dimensions::kInnerCellsLabel,
                   Id::Dimensions::kInnerPercentLabel})
        Field(kDimensions, id)->Enable(circular);
    for (int id : {Id::Dimensions::kPlainBox, Id::Dimensions::kCellsLongLabel,
                   Id::Dimensions::kCellsWideLabel})
        Field(kDimensions, id)->Enable(!circular);
    for (int id : {Id::Dimensions::kInnerCells, Id::Dimensions::kInnerPercent}) {
        static_cast<wxTextCtrl*>(Field(kDimensions, id))->SetEditable(circular);
        Field(kDimensions, id)->Show(circular);
    }
    for (int id : {Id::Dimensions::kCellsWide, Id::Dimensions::kCellsLong}) {
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
    Row(grid, panel, wxID_ANY,
        "Maze Height (inches):", Edit(panel, Id::Page::kHeight, Inches(v.height)));
    Row(grid, panel, wxID_ANY,
        "Maze Width (inches):", Edit(panel, Id::Page::kWidth, Inches(v.width)));
    Row(grid, panel, wxID_ANY,
        "Left Margin (inches):", Edit(panel, Id::Page::kLeftMargin, Inches(v.leftMargin)));
    Row(grid, panel, wxID_ANY,
        "Top Margin (inches):", Edit(panel, Id::Page::kTopMargin, Inches(v.topMargin)));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 6);
    top->Add(Check(panel, Id::Page::kPrinterDebug, "Enable Printer Debug Information for Support",
                   v.printerDebug),
             0, wxALL, 6);
    wxCheckBox* centre =
        Check(panel, Id::Page::kAutoCenter, "Auto Center Maze on Page", v.autoCenter);
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
    seed->Add(Edit(panel, Id::Advanced::kSeed, wxString::FromUTF8(v.seed), 120), 0, wxALL, 3);
    top->Add(seed, 0, wxALL, 3);
    top->Add(Check(panel, Id::Advanced::kErasedVisible, "Make Erased Cells Visible in Layout",
                   v.erasedVisible),
             0, wxALL, 6);
    auto* pen = new wxStaticBoxSizer(wxVERTICAL, panel, "Printing Pen Width");
    wxWindow* box = pen->GetStaticBox();
    const std::pair<int, const char*> radios[] = {
        {Id::Advanced::kThinnest, "Thinnest!"},
        {Id::Advanced::kHundredth, "Set to 1/100\""},
        {Id::Advanced::kThousandths, "Other in X/1000\""}};
    for (const auto& [id, caption] : radios) {
        auto* radio = new wxRadioButton(box, id, caption, wxDefaultPosition, wxDefaultSize,
                                        id == Id::Advanced::kThinnest ? wxRB_GROUP : 0);
        pen->Add(radio, 0, wxALL, 3);
        radio->Bind(wxEVT_RADIOBUTTON, [this, id = id](wxCommandEvent&) { ShowPen(id); });
    }
    auto* x = new wxBoxSizer(wxHORIZONTAL);
    x->Add(new wxStaticText(box, wxID_ANY, "X="), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    x->Add(Edit(box, Id::Advanced::kPenWidth, Number(v.penWidth)), 0, wxALL, 3);
    pen->Add(x);
    top->Add(pen, 0, wxALL, 6);
    top->Add(
        Check(panel, Id::Advanced::kInfoWindow, "Show Updated Information Window", v.infoWindow), 0,
        wxALL, 6);
    top->Add(Check(panel, Id::Advanced::kAnimate, "Animate Maze Creation && Solving", v.animate), 0,
             wxALL, 6);
    panel->SetSizer(top);
    return panel;
}

void SettingsSheetDialog::ShowPen(int radio) {
    PP4& v = pages_.advanced;
    SettingsPageRules::ChoosePen(radio, v);
    for (int id : {Id::Advanced::kThinnest, Id::Advanced::kHundredth, Id::Advanced::kThousandths})
        static_cast<wxRadioButton*>(Field(kAdvanced, id))->SetValue(id == radio);
    auto* edit = static_cast<wxTextCtrl*>(Field(kAdvanced, Id::Advanced::kPenWidth));
    // The typed width stays under the X/1000 radio; the others show their own.
    if (radio != Id::Advanced::kThousandths)
        edit->ChangeValue(Number(v.penWidth));
    edit->SetEditable(SettingsPageRules::PenEditWritable(radio));
}

wxPanel* SettingsSheetDialog::BuildGrowth() {
    auto* panel = new wxPanel(GetBookCtrl());
    const PP5& g = pages_.growth;
    auto* grid = new wxGridSizer(3, 3, 4, 4);
    const std::pair<int, int> layout[] = {
        {Id::Growth::kNW, g.nw}, {Id::Growth::kN, g.n},           {Id::Growth::kNE, g.ne},
        {Id::Growth::kW, g.w},   {Id::Growth::kCentre, g.center}, {Id::Growth::kE, g.e},
        {Id::Growth::kSW, g.sw}, {Id::Growth::kS, g.s},           {Id::Growth::kSE, g.se}};
    for (const auto& [id, value] : layout) {
        wxTextCtrl* edit = Edit(panel, id, Number(value), 60);
        if (id == Id::Growth::kCentre) {
            edit->Hide();
            edit->Disable();
        }
        grid->Add(edit, 0, wxALIGN_CENTER);
    }
    wxCheckBox* relative =
        Check(panel, Id::Growth::kRelative, "Movement relative to current direction", g.relative);
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
            Text(Field(page, Id::Dimensions::kCellsWide)),
            Text(Field(page, Id::Dimensions::kCellsLong)),
            Text(Field(page, Id::Dimensions::kInnerCells)),
            Text(Field(page, Id::Dimensions::kInnerPercent))};
        return SettingsPageRules::ReadDimensions(pages_.style.kind, texts, opened_,
                                                 pages_.dimensions);
    }
    case kPage: {
        const SettingsPageRules::PageTexts texts{
            Text(Field(page, Id::Page::kHeight)), Text(Field(page, Id::Page::kWidth)),
            Text(Field(page, Id::Page::kLeftMargin)), Text(Field(page, Id::Page::kTopMargin))};
        if (auto error = SettingsPageRules::ReadPageSizes(texts, pages_.page))
            return error;
        pages_.page.printerDebug = Checked(Field(page, Id::Page::kPrinterDebug));
        return std::nullopt;
    }
    case kAdvanced: {
        PP4& v = pages_.advanced;
        const int pen = Id::Advanced::kPenWidth;
        if (static_cast<wxTextCtrl*>(Field(page, pen))->IsEditable())
            if (auto error = SettingsPageRules::ReadInt(pen, Text(Field(page, pen)), v.penWidth))
                return error;
        if (auto error =
                SettingsPageRules::ReadSeed(Text(Field(page, Id::Advanced::kSeed)), v.seed))
            return error;
        v.erasedVisible = Checked(Field(page, Id::Advanced::kErasedVisible));
        v.infoWindow = Checked(Field(page, Id::Advanced::kInfoWindow));
        v.animate = Checked(Field(page, Id::Advanced::kAnimate));
        return std::nullopt;
    }
    case kGrowth: {
        PP5 next = pages_.growth;
        for (const auto& [id, value] :
             {std::pair{Id::Growth::kE, &next.e}, std::pair{Id::Growth::kN, &next.n},
              std::pair{Id::Growth::kNW, &next.nw}, std::pair{Id::Growth::kNE, &next.ne},
              std::pair{Id::Growth::kS, &next.s}, std::pair{Id::Growth::kSE, &next.se},
              std::pair{Id::Growth::kSW, &next.sw}, std::pair{Id::Growth::kW, &next.w}})
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
