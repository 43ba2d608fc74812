#include "view/ui/TextBoxWindow.h"

#include "platform/GdiConstants.h"
#include "platform/TextEngine.h"
#include "view/CGridloomView.h"

#include <gtk/gtk.h>

namespace {

// The box's text stands this far in from its outside, so that it lies where the object's text
// is drawn: the box is 3 pixels larger than the object on every side, 1 of them its border.
constexpr int kTextInset = 2;

// The toolkit sizes a font in points at its own resolution; asked for a pixel height, it would
// take the largest whole point size whose lines fit in it, which draws the text smaller than
// the page does. The size is given in points that come out at exactly the page's pixels.
double PointsForPixels(int pixels) {
    const double resolution = gdk_screen_get_resolution(gdk_screen_get_default());
    return pixels * 72.0 / (resolution > 0 ? resolution : 96.0);
}

wxFont FontOf(const TextBoxStyle& style) {
    const LOGFONT& f = style.font;
    const int pixels = f.lfHeight < 0 ? -f.lfHeight : (f.lfHeight > 0 ? f.lfHeight : 16);
    wxFontInfo info(PointsForPixels(pixels));
    info.Bold(f.lfWeight >= FW_SEMIBOLD)
        .Italic(f.lfItalic != 0)
        .Underlined(f.lfUnderline != 0)
        .Strikethrough(f.lfStrikeOut != 0)
        .FaceName(wxString::FromUTF8(TextEngine::MapFace(f.FaceName())));
    return wxFont(info);
}

} // namespace

TextBoxWindow::TextBoxWindow(wxWindow* parent, CGridloomView& view) : view_(view) {
    // Made hidden, so that it never shows before it is placed over an object.
    wxTextCtrl::Hide();
    Create(parent, kId, wxEmptyString, wxDefaultPosition, wxDefaultSize,
           wxTE_MULTILINE | wxTE_RICH2 | wxBORDER_SIMPLE);
    Bind(wxEVT_KILL_FOCUS, &TextBoxWindow::OnKillFocus, this);
    GtkTextView* text = GTK_TEXT_VIEW(GetConnectWidget());
    // Unhinted glyphs, as the page draws them, whatever the desktop's font settings: hinted
    // advances would break the lines elsewhere than the page does.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    gtk_widget_set_font_options(GTK_WIDGET(text), options);
    cairo_font_options_destroy(options);
    gtk_text_view_set_left_margin(text, kTextInset);
    gtk_text_view_set_right_margin(text, kTextInset);
    gtk_text_view_set_top_margin(text, kTextInset);
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
