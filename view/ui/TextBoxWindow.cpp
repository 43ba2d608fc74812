#include "view/ui/TextBoxWindow.h"

#include "platform/GdiConstants.h"
#include "view/CGridloomView.h"

namespace {

wxFont FontOf(const TextBoxStyle& style) {
    const LOGFONT& f = style.font;
    const int pixels = f.lfHeight < 0 ? -f.lfHeight : (f.lfHeight > 0 ? f.lfHeight : 16);
    wxFontInfo info{wxSize(0, pixels)};
    info.Bold(f.lfWeight >= FW_SEMIBOLD)
        .Italic(f.lfItalic != 0)
        .Underlined(f.lfUnderline != 0)
        .Strikethrough(f.lfStrikeOut != 0);
    if (!f.FaceName().empty())
        info.FaceName(wxString::FromUTF8(f.FaceName()));
    return wxFont(info);
}

} // namespace

TextBoxWindow::TextBoxWindow(wxWindow* parent, CGridloomView& view) : view_(view) {
    // Made hidden, so that it never shows before it is placed over an object.
    wxTextCtrl::Hide();
    Create(parent, kId, wxEmptyString, wxDefaultPosition, wxDefaultSize,
           wxTE_MULTILINE | wxTE_RICH2 | wxBORDER_SIMPLE);
    Bind(wxEVT_KILL_FOCUS, &TextBoxWindow::OnKillFocus, this);
}

void TextBoxWindow::Place(const CRect& client) {
    SetSize(client.left, client.top, client.Width(), client.Height());
}

void TextBoxWindow::SetStyle(const TextBoxStyle& style) {
    const wxFont font = FontOf(style);
    const wxColour colour(GetRValue(style.colour), GetGValue(style.colour),
                          GetBValue(style.colour));
    SetFont(font);
    SetForegroundColour(colour);
    SetDefaultStyle(wxTextAttr(colour, wxNullColour, font));
}

void TextBoxWindow::SetText(const std::string& text) {
    ChangeValue(wxString::FromUTF8(text));
    SetInsertionPointEnd();
}

std::string TextBoxWindow::Text() const {
    return GetValue().utf8_string();
}

void TextBoxWindow::ShowAndFocus() {
    Show();
    Raise();
    SetFocus();
    Update();
}

void TextBoxWindow::Hide() {
    wxTextCtrl::Hide();
}

void TextBoxWindow::OnKillFocus(wxFocusEvent& event) {
    event.Skip();
    // The focus may have come back before this arrives (a press on the view that opens the
    // box again): only a box that is still without the focus ends its editing.
    CallAfter([this] {
        if (IsShown() && FindFocus() != this)
            view_.EndTextEditing();
    });
}
