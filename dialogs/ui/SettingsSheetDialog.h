#pragma once
#include "dialogs/StylePage.h"
#include "document/SettingsPages.h"
#include "forms/DialogFieldError.h"

#include <wx/propdlg.h>

#include <array>
#include <optional>

class TileSetCatalogue;
class wxBookCtrlEvent;
class wxCheckBox;
class wxChoice;
class wxPanel;
class wxRadioButton;
class wxStaticBitmap;
class wxTextCtrl;

// The settings sheet's window: one panel per page, controls named by their ids. Rules live
// in StylePage and SettingsPageRules; this class moves texts and clicks to them.
class SettingsSheetDialog : public wxPropertySheetDialog {
public:
    SettingsSheetDialog(wxWindow* parent, const std::string& title, SettingsPages& pages,
                        TileSetCatalogue& sets);
    // Reads every page; on a refused value selects its page, focuses the field and says why.
    bool ReadPages();
    wxWindow* Field(int page, int id) const;

private:
    wxPanel* BuildStyle();
    wxPanel* BuildDimensions();
    wxPanel* BuildPage();
    wxPanel* BuildAdvanced();
    wxPanel* BuildGrowth();
    wxTextCtrl* Edit(wxWindow* parent, int id, const wxString& text, int width = 80);
    void BindLive();
    void LiveCheck(int page, int id, int& value);
    void LiveInt(int page, int id, int& value);
    void LiveFloat(int page, int id, float& value);
    void ShowStyle();
    void ShowDimensions();
    void ShowPen(int radio);
    std::optional<DialogFieldError> ReadPage(int page);
    bool Refuse(int page, const DialogFieldError& error);
    void OnPageChanging(wxBookCtrlEvent& event);
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnOk(wxCommandEvent& event);

    SettingsPages& pages_;
    // The Dimensions values as the sheet was opened with them, before any typing.
    const PP2 opened_;
    StylePage style_;
    std::array<wxPanel*, 5> panels_{};
    std::array<wxRadioButton*, 8> styleRadios_{};
    wxChoice* tilerList_ = nullptr;
    wxStaticBitmap* preview_ = nullptr;
    wxCheckBox* wrapH_ = nullptr;
    wxCheckBox* wrapV_ = nullptr;
};
