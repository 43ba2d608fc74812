#include "dialogs/RichEditFormatting.h"

ParagraphBullets RichEditToggles::ToggleBullets(const ParagraphBullets& current) {
    ParagraphBullets next = current;
    next.numberingKnown = true;
    if (current.numberingKnown && current.bullets) {
        next.bullets = false;
        next.offset = 0;
        next.startIndent = 0;
        return next;
    }
    next.bullets = true;
    if (next.offset == 0)
        next.offset = 4;
    return next;
}

bool RichEditToggles::Flip(int& state) {
    const bool set = state == 1;
    state = set ? 0 : 1;
    return set;
}

std::int64_t PrintPageArithmetic::Twips(std::int64_t pixels, std::int64_t pixelsPerInch) {
    if (pixels <= 0 || pixelsPerInch <= 0)
        return 0;
    return pixels / pixelsPerInch * 1440;
}
