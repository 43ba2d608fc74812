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
    // `screen` is the font and box as a 96-dpi screen shows them (the edit control the text
    // is typed in): wrapped text breaks its lines where they break there, whatever the
    // device's resolution, so that the screen, pictures and paper show the same lines.
    struct Screen {
        DeviceFont font;
        CRect box;
    };
    FormattedText(TextEngine& engine, const DeviceFont& font, const std::string& text,
                  const CRect& box, UINT format, const Screen* screen = nullptr);

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
