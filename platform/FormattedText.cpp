#include "platform/FormattedText.h"

#include "platform/GdiConstants.h"
#include "platform/TextPrefix.h"

#include <algorithm>

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

} // namespace

FormattedText::FormattedText(TextEngine& engine, const DeviceFont& font, const std::string& text,
                             const CRect& box, UINT format)
    : box_(box), format_(format),
      wrap_((format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0) {
    const TextEngine::Wrap how =
        (format & DT_EDITCONTROL) ? TextEngine::Wrap::WordsAndCharacters : TextEngine::Wrap::Words;
    layout_ = engine.Layout(Prepare(text, format), font, wrap_ ? std::max<LONG>(box.Width(), 1) : 0,
                            how, AlignOf(format));
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
