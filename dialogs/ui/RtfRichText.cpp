#include "dialogs/ui/RtfRichText.h"

#include <wx/richtext/richtextctrl.h>

namespace {

wxTextAttrAlignment ToWx(RichAlign align) {
    switch (align) {
    case RichAlign::Right:
        return wxTEXT_ALIGNMENT_RIGHT;
    case RichAlign::Centre:
        return wxTEXT_ALIGNMENT_CENTRE;
    case RichAlign::Left:
        break;
    }
    return wxTEXT_ALIGNMENT_LEFT;
}

wxRichTextAttr ToWx(const RtfCharStyle& style) {
    wxRichTextAttr attr;
    attr.SetFontWeight(style.bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    attr.SetFontStyle(style.italic ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
    attr.SetFontUnderlined(style.underline);
    attr.SetFontSize(std::max(1, style.halfPoints / 2));
    attr.SetTextColour(style.colour ? wxColour((*style.colour >> 16) & 0xFF,
                                               (*style.colour >> 8) & 0xFF, *style.colour & 0xFF)
                                    : *wxBLACK);
    if (!style.face.empty())
        attr.SetFontFaceName(wxString::FromUTF8(style.face));
    return attr;
}

} // namespace

void ShowRtfDocument(const RtfDocument& doc, wxRichTextCtrl& control) {
    control.Freeze();
    control.Clear();
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        const RtfParagraph& para = doc.paragraphs[i];
        if (i > 0)
            control.Newline();
        const long start = control.GetLastPosition();
        for (const RtfRun& run : para.runs) {
            control.BeginStyle(ToWx(run.style));
            control.WriteText(wxString::FromUTF8(run.text));
            control.EndStyle();
        }
        wxRichTextAttr align;
        align.SetAlignment(ToWx(para.align));
        control.SetStyleEx(wxRichTextRange(start, control.GetLastPosition()), align,
                           wxRICHTEXT_SETSTYLE_PARAGRAPHS_ONLY);
    }
    control.SetInsertionPoint(0);
    control.Thaw();
}
