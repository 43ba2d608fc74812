#include "platform/TextPrefix.h"

std::string StripPrefixes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                ++i;
            else
                continue;
        }
        out += text[i];
    }
    return out;
}
