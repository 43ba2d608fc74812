#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CProfile;

// The program's version code as the web host knows it, and the agent text of its fetches.
inline constexpr const char* kWebVersionCode = "QV364";
inline constexpr const char* kWebAgent = "ORLIMBER-QV364";

// The hosts the program talks to, read from the profile: the web host whose redirect
// endpoint answers version checks and pages, and the hosts the connectivity check probes.
// Both default to a reserved name, so an unconfigured build reaches no real host.
class WebEndpoint {
public:
    static constexpr const char* kSection = "Settings";
    static constexpr const char* kBaseEntry = "WebBase";
    static constexpr const char* kProbeEntry = "ProbeHosts";
    static constexpr const char* kDefaultBase = "http://www.orlimber.example/";
    static constexpr std::size_t kMaxProbeHosts = 6;

    // A WebBase that is not an http or https address with a host is reported on stderr and
    // the default is used instead.
    explicit WebEndpoint(const CProfile& profile);

    // Always ends in '/'.
    const std::string& Base() const { return base_; }
    const std::string& BaseHost() const { return host_; }
    // "http" or "https".
    const std::string& Scheme() const { return scheme_; }
    WORD BasePort() const { return port_; }
    // One to kMaxProbeHosts hosts, in the order given.
    const std::vector<std::string>& ProbeHosts() const { return probeHosts_; }

    // The redirect endpoint's address for `query` ("LOC=info", "LOC=latestversion&VER="...);
    // callers that send a version append kWebVersionCode.
    std::string RedirectUrl(std::string_view query) const;
    // True when `url` has the web host's scheme, host and port (an https host is never
    // reached over plain http, nor another service on the same machine).
    bool IsOnWebHost(const std::string& url) const;
    // Empty when `url` is on the web host, else a message naming the host it would reach.
    std::string Refusal(const std::string& url) const;

private:
    bool ParseBase(const std::string& base);

    std::string base_;
    std::string scheme_;
    std::string host_;
    WORD port_ = 0;
    std::vector<std::string> probeHosts_;
};
