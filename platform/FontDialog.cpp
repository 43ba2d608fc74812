#include "platform/FontDialog.h"

#include "platform/GdiConstants.h"

#include <algorithm>

namespace {

IFontDialog*& CurrentDialog() {
    static HeadlessFontDialog headless;
    static IFontDialog* current = &headless;
    return current;
}

} // namespace

int FontChoice::ClampTenths(int tenths) {
    return std::clamp(tenths, kMinTenths, kMaxTenths);
}

FontChoice FontChoice::From(const FontDialogRequest& request) {
    FontChoice c;
    c.colour = request.colour;
    if (!request.initial)
        return c;
    const LOGFONT& f = *request.initial;
    if (!f.FaceName().empty())
        c.face = f.FaceName();
    // A negative height is the character height in pixels; a positive one includes the
    // internal leading, which is not known here and taken as nothing.
    const long long height = std::min<long long>(
        f.lfHeight < 0 ? -static_cast<long long>(f.lfHeight) : f.lfHeight, 1 << 20);
    if (height != 0) {
        const int tenths = MulDiv(static_cast<int>(height), 720, kScreenDpi);
        // Pixel heights lose the tenths: a whole point size that gives the same height is
        // what was chosen, so 14 pt comes back as 14, not 14.3.
        const int whole = (tenths + 5) / 10 * 10;
        c.tenths = ClampTenths(MulDiv(whole, kScreenDpi, 720) == height ? whole : tenths);
    }
    c.bold = f.lfWeight >= FW_SEMIBOLD;
    c.italic = f.lfItalic != 0;
    c.underline = f.lfUnderline != 0;
    c.strikeOut = f.lfStrikeOut != 0;
    return c;
}

LOGFONT FontChoice::ToLogFont() const {
    LOGFONT f;
    f.lfHeight = -MulDiv(tenths, kScreenDpi, 720);
    f.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    f.lfItalic = italic ? 1 : 0;
    f.lfUnderline = underline ? 1 : 0;
    f.lfStrikeOut = strikeOut ? 1 : 0;
    f.SetFaceName(face);
    return f;
}

CHOOSEFONT FontChoice::ToChooseFont(DWORD requestFlags, bool hadInitial) const {
    CHOOSEFONT c;
    c.Flags = requestFlags | CF_ENABLEHOOK | (hadInitial ? CF_INITTOLOGFONTSTRUCT : 0);
    c.iPointSize = tenths;
    c.rgbColors = colour & 0x00FFFFFF;
    c.nFontType = static_cast<WORD>(SCREEN_FONTTYPE | (bold ? BOLD_FONTTYPE : 0) |
                                    (italic ? ITALIC_FONTTYPE : 0) |
                                    (!bold && !italic ? REGULAR_FONTTYPE : 0));
    return c;
}

FontDialogAnswer IFontDialog::Answer(const FontChoice& choice, const FontDialogRequest& request) {
    FontChoice c = choice;
    c.tenths = FontChoice::ClampTenths(c.tenths);
    return {true, c.ToChooseFont(request.flags, request.initial.has_value()), c.ToLogFont()};
}

IFontDialog& IFontDialog::Current() {
    return *CurrentDialog();
}

IFontDialog::Installation::Installation(IFontDialog& dialog) : previous_(CurrentDialog()) {
    CurrentDialog() = &dialog;
}

IFontDialog::Installation::~Installation() {
    CurrentDialog() = previous_;
}

FontDialogAnswer ScriptedFontDialog::Show(const FontDialogRequest& request) {
    requests_.push_back(request);
    if (answers_.empty())
        return {};
    const Scripted next = answers_.front();
    answers_.pop_front();
    switch (next.step) {
    case Step::Accept:
        return Answer(FontChoice::From(request), request);
    case Step::Choose:
        return Answer(next.choice, request);
    case Step::Cancel:
        break;
    }
    return {};
}
