#pragma once
#include "platform/CRect.h"
#include "platform/TextEngine.h"

#include <memory>
#include <string>

// Text laid out for a rectangle under DT_* flags, in device pixels: mnemonic markers dropped,
// lines broken at words (or inside words, as an edit control does) when asked, and placed by
// the horizontal and, for single lines, vertical alignment.
class FormattedText {
public:
    FormattedText(TextEngine& engine, const DeviceFont& font, const std::string& text,
                  const CRect& box, UINT format);

    const TextLayout& Layout() const { return *layout_; }
    double Width() const { return extent_.width; }
    double Height() const { return extent_.height; }
    // Where the layout's top-left corner goes.
    double Left() const;
    double Top() const;

private:
    CRect box_;
    UINT format_;
    bool wrap_;
    std::unique_ptr<TextLayout> layout_;
    TextLayout::Box extent_;
};
