#pragma once
#include "dialogs/RichEditFormatting.h"

#include <wx/richtext/richtextctrl.h>

#include <istream>

// A rich edit with formatting toggles on the selection, rich text loading and printing.
class CMyRichEditCtrl : public wxRichTextCtrl {
public:
    explicit CMyRichEditCtrl(wxWindow* parent, wxWindowID id = wxID_ANY);

    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    void PickColour();
    void SetColour(const wxColour& colour);
    void Align(RichAlign align);
    void ToggleBullets();
    void SetFontName(const wxString& face);
    void SetFontSize(int points);

    bool SelectionBold();
    bool SelectionItalic();
    bool SelectionUnderlined();
    RichAlign SelectionAlignment();
    bool SelectionBullets();

    // Replaces the text with the rich text read from the stream, at most a bounded amount.
    void Load(std::istream& in);
    // False when the print dialog was cancelled or printing failed.
    bool Print(bool showDialog);

private:
    wxRichTextAttr CurrentStyle();
    void ApplyCharacters(const wxRichTextAttr& attr);
    void ApplyParagraph(const wxRichTextAttr& attr);

    RichEditToggles toggles_;
};
