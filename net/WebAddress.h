#pragma once
#include <string>
#include <string_view>

// A web address split into its five parts, and references resolved against a base as a browser
// resolves them (RFC 3986, section 5).
class WebAddress {
public:
    std::string scheme; // lower case; empty for a relative reference
    bool hasAuthority = false;
    std::string authority;
    std::string path;
    bool hasQuery = false;
    std::string query;
    bool hasFragment = false;
    std::string fragment;

    static WebAddress Parse(std::string_view text);
    std::string ToString() const;

    // `reference` made whole against `base`. Blanks and control characters around the
    // reference are dropped first, as browsers do; an absolute `base` is expected.
    static std::string Resolve(std::string_view base, std::string_view reference);
    // The scheme of `url` in lower case; empty when it has none.
    static std::string SchemeOf(std::string_view url);
    // True when both addresses have the same scheme, host and port (default ports filled in).
    static bool SameOrigin(std::string_view a, std::string_view b);

private:
    static std::string RemoveDotSegments(std::string_view path);
    static std::string Merge(const WebAddress& base, std::string_view path);
};
