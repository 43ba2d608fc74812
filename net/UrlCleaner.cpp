#include "net/UrlCleaner.h"

bool UrlCleaner::Clean(std::string_view raw, std::string& out) {
    std::string cleaned;
    cleaned.reserve(raw.size());
    for (const char c : raw) {
        if (c == '\\')
            cleaned += '/';
        else if (c == ' ')
            cleaned += "%20";
        else
            cleaned += c;
        if (cleaned.size() > kMaxLength)
            return false;
    }
    out = std::move(cleaned);
    return true;
}
