// Hostile pages from the web host: the prepared page stays within its limits, every element is
// closed in order, and resolved addresses keep to the scheme of their base or their own.
#include "net/PageMarkup.h"
#include "net/WebAddress.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Start and end tags of the prepared page pair up, no deeper than the limit.
bool WellFormed(const std::string& html) {
    static const std::vector<std::string> voids{"br", "hr", "img", "meta", "area"};
    std::vector<std::string> open;
    for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at)) {
        const std::size_t end = html.find('>', at);
        if (end == std::string::npos)
            return false;
        const bool closing = html[at + 1] == '/';
        const std::size_t nameStart = at + (closing ? 2 : 1);
        const std::size_t nameEnd = html.find_first_of(" >", nameStart);
        const std::string name = html.substr(nameStart, nameEnd - nameStart);
        at = end + 1;
        if (closing) {
            if (open.empty() || open.back() != name)
                return false;
            open.pop_back();
        } else if (std::find(voids.begin(), voids.end(), name) == voids.end()) {
            open.push_back(name);
            if (open.size() > static_cast<std::size_t>(PageMarkup::kMaxDepth))
                return false;
        }
    }
    return open.empty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PageMarkup::Prepared page = PageMarkup::Prepare(text, "http://127.0.0.1:8080/d/p?x");
    if (page.usable != !page.html.empty() || (!page.usable && page.note.empty()))
        __builtin_trap();
    if (page.usable && (!WellFormed(page.html) || page.html.find("<script") != std::string::npos ||
                        page.html.find("<!--") != std::string::npos))
        __builtin_trap();
    // The first line is a reference, resolved against two bases.
    const std::string_view reference = text.substr(0, text.find('\n'));
    for (const char* base : {"http://127.0.0.1:8080/d/p?x", "file:///usr/share/orlimber/html/a"}) {
        const std::string url = WebAddress::Resolve(base, reference);
        const std::string scheme = WebAddress::SchemeOf(url);
        const std::string given = WebAddress::SchemeOf(reference);
        if (scheme != WebAddress::SchemeOf(base) && scheme != given)
            __builtin_trap();
    }
    return 0;
}
