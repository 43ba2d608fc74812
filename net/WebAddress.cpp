#include "net/WebAddress.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = Lower(c);
    return out;
}

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Browsers strip leading and trailing C0 controls and blanks, and drop tabs and line breaks
// inside an address.
std::string Tidy(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\t' && c != '\n' && c != '\r')
            out += c;
    return out;
}

// The host and port of an authority, the user part dropped, the port filled in for http(s).
std::string HostAndPort(const std::string& scheme, std::string_view authority) {
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    std::string_view host = authority;
    std::string_view port;
    const std::size_t bracket = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    std::string portText(port);
    if (portText.empty())
        portText = scheme == "https" ? "443" : scheme == "http" ? "80" : "";
    while (portText.size() > 1 && portText.front() == '0')
        portText.erase(0, 1);
    return Lowered(host) + ":" + portText;
}

} // namespace

std::string WebAddress::SchemeOf(std::string_view url) {
    const std::string tidy = Tidy(url);
    const std::size_t colon = tidy.find(':');
    if (colon == std::string::npos || colon == 0 || !IsAlpha(tidy[0]))
        return {};
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = tidy[i];
        if (!IsAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return {};
    }
    return Lowered(std::string_view(tidy).substr(0, colon));
}

WebAddress WebAddress::Parse(std::string_view text) {
    WebAddress a;
    a.scheme = SchemeOf(text);
    std::string_view rest = text;
    if (!a.scheme.empty())
        rest.remove_prefix(a.scheme.size() + 1);
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        a.hasFragment = true;
        a.fragment = rest.substr(hash + 1);
        rest = rest.substr(0, hash);
    }
    if (const std::size_t question = rest.find('?'); question != std::string_view::npos) {
        a.hasQuery = true;
        a.query = rest.substr(question + 1);
        rest = rest.substr(0, question);
    }
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        a.hasAuthority = true;
        a.authority = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash);
    }
    a.path = rest;
    return a;
}

std::string WebAddress::ToString() const {
    std::string out;
    if (!scheme.empty())
        out += scheme + ":";
    if (hasAuthority)
        out += "//" + authority;
    out += path;
    if (hasQuery)
        out += "?" + query;
    if (hasFragment)
        out += "#" + fragment;
    return out;
}

std::string WebAddress::RemoveDotSegments(std::string_view in) {
    std::string out;
    while (!in.empty()) {
        if (in.substr(0, 3) == "../") {
            in.remove_prefix(3);
        } else if (in.substr(0, 2) == "./") {
            in.remove_prefix(2);
        } else if (in.substr(0, 3) == "/./") {
            in.remove_prefix(2);
        } else if (in == "/.") {
            in = "/";
        } else if (in.substr(0, 4) == "/../" || in == "/..") {
            in = in.size() == 3 ? std::string_view("/") : in.substr(3);
            const std::size_t last = out.rfind('/');
            out.resize(last == std::string::npos ? 0 : last);
        } else if (in == "." || in == "..") {
            in = {};
        } else {
            const std::size_t next = in.find('/', 1);
            const std::size_t length = next == std::string_view::npos ? in.size() : next;
            out.append(in.substr(0, length));
            in.remove_prefix(length);
        }
    }
    return out;
}

std::string WebAddress::Merge(const WebAddress& base, std::string_view path) {
    std::string merged;
    if (base.hasAuthority && base.path.empty())
        merged.push_back('/');
    else if (const std::size_t slash = base.path.rfind('/'); slash != std::string::npos)
        merged = base.path.substr(0, slash + 1);
    merged.append(path);
    return merged;
}

std::string WebAddress::Resolve(std::string_view baseText, std::string_view referenceText) {
    const std::string tidy = Tidy(referenceText);
    WebAddress r = Parse(tidy);
    const WebAddress base = Parse(baseText);
    WebAddress t;
    if (!r.scheme.empty() && r.scheme != base.scheme) {
        t = r;
        t.path = RemoveDotSegments(r.path);
    } else {
        // A reference with the base's own scheme is read as relative, as browsers do for
        // "http:page.html" on an http page.
        if (r.hasAuthority) {
            t.hasAuthority = true;
            t.authority = r.authority;
            t.path = RemoveDotSegments(r.path);
            t.hasQuery = r.hasQuery;
            t.query = r.query;
        } else {
            if (r.path.empty()) {
                t.path = base.path;
                t.hasQuery = r.hasQuery || base.hasQuery;
                t.query = r.hasQuery ? r.query : base.query;
            } else {
                t.path = RemoveDotSegments(r.path.front() == '/' ? r.path : Merge(base, r.path));
                t.hasQuery = r.hasQuery;
                t.query = r.query;
            }
            t.hasAuthority = base.hasAuthority;
            t.authority = base.authority;
        }
        t.scheme = base.scheme;
    }
    t.hasFragment = r.hasFragment;
    t.fragment = r.fragment;
    return t.ToString();
}

bool WebAddress::SameOrigin(std::string_view a, std::string_view b) {
    const WebAddress x = Parse(Tidy(a));
    const WebAddress y = Parse(Tidy(b));
    return !x.scheme.empty() && x.scheme == y.scheme && x.hasAuthority && y.hasAuthority &&
           HostAndPort(x.scheme, x.authority) == HostAndPort(y.scheme, y.authority);
}
