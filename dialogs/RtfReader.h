#pragma once
#include "dialogs/RichEditFormatting.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RtfCharStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    std::optional<std::uint32_t> colour; // 0xRRGGBB; none means the automatic colour
    std::string face;
    bool operator==(const RtfCharStyle&) const = default;
};

struct RtfRun {
    std::string text; // UTF-8
    RtfCharStyle style;
};

struct RtfParagraph {
    RichAlign align = RichAlign::Left;
    std::vector<RtfRun> runs;
    std::string PlainText() const;
};

struct RtfDocument {
    std::vector<RtfParagraph> paragraphs;
    std::string PlainText() const; // paragraphs joined with '\n'
};

// Reads the small part of rich text our help file and the rich edit's load use. Any bytes are
// accepted: reading stops at the end of the input or at a brace that closes the outermost
// group, and whatever is not understood is skipped.
class RtfReader {
public:
    static RtfDocument Read(std::string_view bytes);
};
