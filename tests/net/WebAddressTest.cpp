#include "net/WebAddress.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every example of RFC 3986 section 5.4, normal and abnormal, against its base.
TEST(WebAddressTest, ResolvesTheStandardsExamples) {
    const std::string base = "http://a/b/c/d;p?q";
    const std::vector<std::pair<std::string, std::string>> examples{
        {"g:h", "g:h"},
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g"},
        {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},
        {"#s", "http://a/b/c/d;p?q#s"},
        {"g#s", "http://a/b/c/g#s"},
        {"g?y#s", "http://a/b/c/g?y#s"},
        {";x", "http://a/b/c/;x"},
        {"g;x", "http://a/b/c/g;x"},
        {"g;x?y#s", "http://a/b/c/g;x?y#s"},
        {"", "http://a/b/c/d;p?q"},
        {".", "http://a/b/c/"},
        {"./", "http://a/b/c/"},
        {"..", "http://a/b/"},
        {"../", "http://a/b/"},
        {"../g", "http://a/b/g"},
        {"../..", "http://a/"},
        {"../../", "http://a/"},
        {"../../g", "http://a/g"},
        {"../../../g", "http://a/g"},
        {"../../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},
        {"g.", "http://a/b/c/g."},
        {".g", "http://a/b/c/.g"},
        {"g..", "http://a/b/c/g.."},
        {"..g", "http://a/b/c/..g"},
        {"./../g", "http://a/b/g"},
        {"./g/.", "http://a/b/c/g/"},
        {"g/./h", "http://a/b/c/g/h"},
        {"g/../h", "http://a/b/c/h"},
        {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
        {"g;x=1/../y", "http://a/b/c/y"},
        {"g?y/./x", "http://a/b/c/g?y/./x"},
        {"g?y/../x", "http://a/b/c/g?y/../x"},
        {"g#s/./x", "http://a/b/c/g#s/./x"},
        {"g#s/../x", "http://a/b/c/g#s/../x"},
        // Browsers read a reference with the base's own scheme as relative.
        {"http:g", "http://a/b/c/g"},
    };
    for (const auto& [reference, expected] : examples)
        EXPECT_EQ(WebAddress::Resolve(base, reference), expected) << reference;
}

TEST(WebAddressTest, PanePicturesAndLinksResolveAgainstTheRedirectEndpoint) {
    const std::string page = "http://127.0.0.1:8080/redir.php?LOC=info";
    EXPECT_EQ(WebAddress::Resolve(page, "/img/x.png"), "http://127.0.0.1:8080/img/x.png");
    EXPECT_EQ(WebAddress::Resolve(page, "img/x.png"), "http://127.0.0.1:8080/img/x.png");
    EXPECT_EQ(WebAddress::Resolve(page, "?LOC=MASKS"), "http://127.0.0.1:8080/redir.php?LOC=MASKS");
    EXPECT_EQ(WebAddress::Resolve(page, " \t/a\nb.html\r "), "http://127.0.0.1:8080/ab.html");
    EXPECT_EQ(WebAddress::Resolve(page, "//other:9/x"), "http://other:9/x");
    EXPECT_EQ(WebAddress::Resolve(page, "JavaScript:alert(1)"), "javascript:alert(1)");
    EXPECT_EQ(WebAddress::Resolve("file:///usr/share/orlimber/html/start.html", "keys.html"),
              "file:///usr/share/orlimber/html/keys.html");
    EXPECT_EQ(WebAddress::Resolve("http://h", "x"), "http://h/x");
}

TEST(WebAddressTest, SameOriginComparesSchemeHostAndPort) {
    EXPECT_TRUE(WebAddress::SameOrigin("http://Host/a", "http://host:80/b"));
    EXPECT_TRUE(WebAddress::SameOrigin("https://h:0443/", "https://h/x"));
    EXPECT_TRUE(WebAddress::SameOrigin("http://user@h:81/", "http://h:81/x"));
    EXPECT_FALSE(WebAddress::SameOrigin("http://h:81/", "http://h:82/"));
    EXPECT_FALSE(WebAddress::SameOrigin("http://h/", "https://h/"));
    EXPECT_FALSE(WebAddress::SameOrigin("http://h.evil/", "http://h/"));
    EXPECT_FALSE(WebAddress::SameOrigin("http://h@evil/", "http://h/"));
    EXPECT_FALSE(WebAddress::SameOrigin("/relative", "/relative"));
    EXPECT_TRUE(WebAddress::SameOrigin("http://[::1]:8/", "http://[::1]:8/y"));
    EXPECT_FALSE(WebAddress::SameOrigin("http://[::1]:8/", "http://[::1]/y"));
}

// Python's urljoin follows the same standard; it is an outside reader of the same references.
// (It parts from the standard on empty segments and on dot segments after an authority, so
// those stay with the examples above.)
TEST(WebAddressTest, AgreesWithPythonOnHostileReferences) {
    const std::string base = "http://127.0.0.1:8080/dir/sub/page.php?x=1";
    const std::vector<std::string> references{"../../../../etc/passwd",
                                              "/./../x",
                                              "a/./b/../../c",
                                              "//h",
                                              "g;x?y#s",
                                              "a?b/../c",
                                              "./..",
                                              ".../x",
                                              "x/..",
                                              "x/../..",
                                              "%2e%2e/x",
                                              "/a/b/c/./../../g",
                                              "mid/content=5/../6"};
    std::string script = "import sys\nfrom urllib.parse import urljoin\nfor r in sys.stdin.read()"
                         ".split('\\n'):\n    print(urljoin('" +
                         base + "', r))\n";
    std::string input;
    for (const std::string& r : references)
        input += r + "\n";
    input.pop_back();
    const std::string command = "printf '%s' '" + input + "' | python3 -c \"" + script + "\"";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        GTEST_SKIP() << "python3 is missing";
    std::string out;
    std::array<char, 4096> chunk{};
    while (std::size_t got = fread(chunk.data(), 1, chunk.size(), pipe))
        out.append(chunk.data(), got);
    if (pclose(pipe) != 0)
        GTEST_SKIP() << "python3 is missing";
    std::size_t at = 0;
    for (const std::string& r : references) {
        const std::size_t end = out.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(WebAddress::Resolve(base, r), out.substr(at, end - at)) << r;
        at = end + 1;
    }
}

} // namespace
