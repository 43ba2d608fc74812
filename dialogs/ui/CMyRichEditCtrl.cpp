#include "dialogs/ui/CMyRichEditCtrl.h"

#include "dialogs/RtfReader.h"
#include "dialogs/ui/RtfRichText.h"

#include <wx/colordlg.h>
#include <wx/richtext/richtextprint.h>

#include <iterator>
#include <string>

namespace {
constexpr std::size_t kMaxLoadBytes = 16u << 20;
}

CMyRichEditCtrl::CMyRichEditCtrl(wxWindow* parent, wxWindowID id)
    : wxRichTextCtrl(parent, id, {}, wxDefaultPosition, wxDefaultSize, wxRE_MULTILINE) {}

wxRichTextAttr CMyRichEditCtrl::CurrentStyle() {
    const long at = HasSelection() ? GetSelectionRange().GetStart() : GetInsertionPoint();
    wxRichTextAttr attr;
    GetStyle(at, attr);
    return attr;
}

void CMyRichEditCtrl::ApplyCharacters(const wxRichTextAttr& attr) {
    if (HasSelection())
        SetStyleEx(GetSelectionRange(), attr,
                   wxRICHTEXT_SETSTYLE_WITH_UNDO | wxRICHTEXT_SETSTYLE_CHARACTERS_ONLY);
    else
        BeginStyle(attr); // typing from the caret on takes the format
}

void CMyRichEditCtrl::ApplyParagraph(const wxRichTextAttr& attr) {
    const wxRichTextRange range = HasSelection()
                                      ? GetSelectionRange()
                                      : wxRichTextRange(GetInsertionPoint(), GetInsertionPoint());
    SetStyleEx(range, attr, wxRICHTEXT_SETSTYLE_WITH_UNDO | wxRICHTEXT_SETSTYLE_PARAGRAPHS_ONLY);
}

void CMyRichEditCtrl::ToggleBold() {
    const wxRichTextAttr now = CurrentStyle();
    const bool bold = RichEditToggles::BoldAfterToggle(
        now.HasFontWeight(), now.HasFontWeight() && now.GetFontWeight() >= wxFONTWEIGHT_BOLD);
    wxRichTextAttr attr;
    attr.SetFontWeight(bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    ApplyCharacters(attr);
}

void CMyRichEditCtrl::ToggleItalic() {
    wxRichTextAttr attr;
    attr.SetFontStyle(toggles_.NextItalic() ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
    ApplyCharacters(attr);
}

void CMyRichEditCtrl::ToggleUnderline() {
    wxRichTextAttr attr;
    attr.SetFontUnderlined(toggles_.NextUnderline());
    ApplyCharacters(attr);
}

void CMyRichEditCtrl::PickColour() {
    wxColourDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK)
        SetColour(dialog.GetColourData().GetColour());
}

void CMyRichEditCtrl::SetColour(const wxColour& colour) {
    wxRichTextAttr attr;
    attr.SetTextColour(colour);
    ApplyCharacters(attr);
}

void CMyRichEditCtrl::Align(RichAlign align) {
    wxRichTextAttr attr;
    attr.SetAlignment(align == RichAlign::Right    ? wxTEXT_ALIGNMENT_RIGHT
                      : align == RichAlign::Centre ? wxTEXT_ALIGNMENT_CENTRE
                                                   : wxTEXT_ALIGNMENT_LEFT);
    ApplyParagraph(attr);
}

void CMyRichEditCtrl::ToggleBullets() {
    const wxRichTextAttr now = CurrentStyle();
    ParagraphBullets current;
    current.numberingKnown = now.HasBulletStyle();
    current.bullets =
        current.numberingKnown && (now.GetBulletStyle() & wxTEXT_ATTR_BULLET_STYLE_STANDARD) != 0;
    current.offset = now.GetLeftSubIndent();
    current.startIndent = now.GetLeftIndent();
    const ParagraphBullets next = RichEditToggles::ToggleBullets(current);
    wxRichTextAttr attr;
    attr.SetBulletStyle(next.bullets ? wxTEXT_ATTR_BULLET_STYLE_STANDARD
                                     : wxTEXT_ATTR_BULLET_STYLE_NONE);
    if (next.bullets)
        attr.SetBulletName("standard/circle");
    attr.SetLeftIndent(next.startIndent, next.offset);
    ApplyParagraph(attr);
}

void CMyRichEditCtrl::SetFontName(const wxString& face) {
    wxRichTextAttr attr;
    attr.SetFontFaceName(face);
    ApplyCharacters(attr);
}

void CMyRichEditCtrl::SetFontSize(int points) {
    wxRichTextAttr attr;
    attr.SetFontSize(std::clamp(points, 1, 1638));
    ApplyCharacters(attr);
}

bool CMyRichEditCtrl::SelectionBold() {
    return CurrentStyle().GetFontWeight() >= wxFONTWEIGHT_BOLD;
}

bool CMyRichEditCtrl::SelectionItalic() {
    return CurrentStyle().GetFontStyle() == wxFONTSTYLE_ITALIC;
}

bool CMyRichEditCtrl::SelectionUnderlined() {
    return CurrentStyle().GetFontUnderlined();
}

RichAlign CMyRichEditCtrl::SelectionAlignment() {
    switch (CurrentStyle().GetAlignment()) {
    case wxTEXT_ALIGNMENT_RIGHT:
        return RichAlign::Right;
    case wxTEXT_ALIGNMENT_CENTRE:
        return RichAlign::Centre;
    default:
        return RichAlign::Left;
    }
}

bool CMyRichEditCtrl::SelectionBullets() {
    const wxRichTextAttr now = CurrentStyle();
    return now.HasBulletStyle() && (now.GetBulletStyle() & wxTEXT_ATTR_BULLET_STYLE_STANDARD);
}

void CMyRichEditCtrl::Load(std::istream& in) {
    std::string bytes;
    char chunk[4096];
    while (bytes.size() < kMaxLoadBytes && in.read(chunk, sizeof chunk).gcount() > 0)
        bytes.append(chunk, std::size_t(in.gcount()));
    ShowRtfDocument(RtfReader::Read(bytes), *this);
}

bool CMyRichEditCtrl::Print(bool showDialog) {
    wxRichTextPrinting printing("MyRtf", this);
    return printing.PrintBuffer(GetBuffer(), showDialog);
}
