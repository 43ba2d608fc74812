#include "net/WebEndpoint.h"

#include "net/CurlGlobal.h"
#include "platform/CProfile.h"

#include <charconv>
#include <cstdio>
#include <curl/curl.h>
#include <memory>

namespace {

struct UrlFree {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// One part of a parsed address; empty when the address has none.
std::string UrlPart(CURLU* url, CURLUPart part, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || !text)
        return {};
    std::string value(text);
    curl_free(text);
    return value;
}

struct ParsedUrl {
    std::string scheme;
    std::string host;
    std::string port;
};

bool ParseUrl(const std::string& text, ParsedUrl& parsed) {
    CurlGlobal::Ensure();
    std::unique_ptr<CURLU, UrlFree> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK)
        return false;
    parsed.scheme = UrlPart(url.get(), CURLUPART_SCHEME);
    parsed.host = UrlPart(url.get(), CURLUPART_HOST);
    parsed.port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    if (parsed.host.size() >= 2 && parsed.host.front() == '[' && parsed.host.back() == ']')
        parsed.host = parsed.host.substr(1, parsed.host.size() - 2);
    return (parsed.scheme == "http" || parsed.scheme == "https") && !parsed.host.empty();
}

std::string Lower(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return text;
}

std::string Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return std::string(s);
}

} // namespace

WebEndpoint::WebEndpoint(const CProfile& profile) {
    const std::string base = profile.GetProfileString(kSection, kBaseEntry, kDefaultBase);
    if (!ParseBase(base)) {
        std::fprintf(stderr, "The web address \"%s\" in [%s] %s is not usable; using %s\n",
                     base.c_str(), kSection, kBaseEntry, kDefaultBase);
        ParseBase(kDefaultBase);
    }
    const std::string list = profile.GetProfileString(kSection, kProbeEntry, "");
    std::string_view rest = list;
    while (!rest.empty() && probeHosts_.size() < kMaxProbeHosts) {
        const std::size_t comma = rest.find(',');
        std::string host = Trim(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        if (!host.empty())
            probeHosts_.push_back(std::move(host));
    }
    if (probeHosts_.empty())
        probeHosts_.push_back(host_);
}

bool WebEndpoint::ParseBase(const std::string& base) {
    ParsedUrl parsed;
    if (!ParseUrl(base, parsed))
        return false;
    const std::string& port = parsed.port;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (error != std::errc() || end != port.data() + port.size() || number == 0 || number > 65535)
        return false;
    base_ = base;
    if (base_.back() != '/')
        base_ += '/';
    scheme_ = parsed.scheme;
    host_ = parsed.host;
    port_ = static_cast<WORD>(number);
    return true;
}

std::string WebEndpoint::RedirectUrl(std::string_view query) const {
    return base_ + "redir.php?" + std::string(query);
}

bool WebEndpoint::IsOnWebHost(const std::string& url) const {
    ParsedUrl parsed;
    if (!ParseUrl(url, parsed))
        return false;
    return parsed.scheme == scheme_ && Lower(parsed.host) == Lower(host_) &&
           parsed.port == std::to_string(port_);
}

std::string WebEndpoint::Refusal(const std::string& url) const {
    if (IsOnWebHost(url))
        return {};
    ParsedUrl parsed;
    const std::string where = ParseUrl(url, parsed)
                                  ? parsed.scheme + "://" + parsed.host + ":" + parsed.port
                                  : url.substr(0, 200);
    return "The web host sent the transfer to " + where + ", which is not " + scheme_ + "://" +
           host_ + ":" + std::to_string(port_) + "; it was refused.";
}
