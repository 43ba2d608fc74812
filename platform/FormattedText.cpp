#include "platform/FormattedText.h"

#include "platform/GdiConstants.h"
#include "platform/TextPrefix.h"

#include <algorithm>
#include <vector>

namespace {

std::string Prepare(const std::string& text, UINT format) {
    std::string shown = (format & DT_NOPREFIX) ? text : StripPrefixes(text);
    if (format & DT_SINGLELINE)
        std::replace_if(
            shown.begin(), shown.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    else
        shown.erase(std::remove(shown.begin(), shown.end(), '\r'), shown.end());
    return shown;
}

TextEngine::Align AlignOf(UINT format) {
    if (format & DT_CENTER)
        return TextEngine::Align::Center;
    if (format & DT_RIGHT)
        return TextEngine::Align::Right;
    return TextEngine::Align::Left;
}

// Ends a line where each of `starts` (after the first) begins one, dropping the blanks the
// wrapped line ended with.
std::string BreakAt(const std::string& text, const std::vector<std::size_t>& starts) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t i = 1; i < starts.size(); ++i) {
        const std::size_t at = std::min(starts[i], text.size());
        if (at <= from)
            continue;
        std::string line = text.substr(from, at - from);
        if (line.back() != '\n') {
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
            line += '\n';
        }
        out += line;
        from = at;
    }
    return out + text.substr(std::min(from, text.size()));
}

} // namespace

FormattedText::FormattedText(TextEngine& engine, const DeviceFont& font, const std::string& text,
                             const CRect& box, UINT format, const Screen* screen)
    : box_(box), format_(format),
      wrap_((format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0) {
    const TextEngine::Wrap how =
        (format & DT_EDITCONTROL) ? TextEngine::Wrap::WordsAndCharacters : TextEngine::Wrap::Words;
    std::string shown = Prepare(text, format);
    if (wrap_ && screen) {
        // The lines are the screen's; within them nothing wraps again.
        shown = TextEngine::MakeValid(shown);
        shown =
            BreakAt(shown, engine.ScreenLineStarts(shown, screen->font,
                                                   std::max<LONG>(screen->box.Width(), 1), how));
        wrap_ = false;
    }
    layout_ = engine.Layout(shown, font, wrap_ ? std::max<LONG>(box.Width(), 1) : 0, how,
                            AlignOf(format));
    extent_ = layout_->Extent();
}

double FormattedText::Left() const {
    // Wrapped layouts already align their lines within the box width.
    if (wrap_)
        return box_.left;
    switch (AlignOf(format_)) {
    case TextEngine::Align::Center:
        return box_.left + (box_.Width() - Width()) / 2.0 - extent_.x;
    case TextEngine::Align::Right:
        return box_.right - Width() - extent_.x;
    default:
        return box_.left - extent_.x;
    }
}

double FormattedText::Top() const {
    if (!(format_ & DT_SINGLELINE))
        return box_.top;
    if (format_ & DT_VCENTER)
        return box_.top + (box_.Height() - Height()) / 2.0;
    if (format_ & DT_BOTTOM)
        return box_.bottom - Height();
    return box_.top;
}
