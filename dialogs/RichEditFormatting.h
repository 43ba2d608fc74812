#pragma once
#include <cstdint>

enum class RichAlign { Left = 1, Right = 2, Centre = 3 };

// The paragraph numbering a bullets toggle reads and writes.
struct ParagraphBullets {
    bool numberingKnown = false; // numbering is part of the format's mask
    bool bullets = false;
    int offset = 0;
    int startIndent = 0;
};

// The formatting toggles of the rich edit. Italic and underline follow a remembered state,
// not the selection, so repeated presses alternate even over mixed text.
class RichEditToggles {
public:
    static bool BoldAfterToggle(bool boldKnown, bool bold) { return boldKnown ? !bold : true; }
    bool NextItalic() { return Flip(italicState_); }
    bool NextUnderline() { return Flip(underlineState_); }
    static ParagraphBullets ToggleBullets(const ParagraphBullets& current);

private:
    static bool Flip(int& state);
    int italicState_ = 1;
    int underlineState_ = 1;
};

// Printer page size in twips: whole inches first, as the printing code always did.
class PrintPageArithmetic {
public:
    static std::int64_t Twips(std::int64_t pixels, std::int64_t pixelsPerInch);
};
