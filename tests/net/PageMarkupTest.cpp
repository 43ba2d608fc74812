#include "net/PageMarkup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kPage = "http://127.0.0.1:8080/redir.php?LOC=info";

// `text` `times` over, between `before` and `after`.
std::string Repeat(const std::string& text, std::size_t times, const std::string& before = {},
                   const std::string& after = {}) {
    std::string out = before;
    out.reserve(before.size() + text.size() * times + after.size());
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    out += after;
    return out;
}

// Reads the prepared markup back on its own terms: every element is closed in order, no deeper
// than the limit, and no tag, attribute or comment the window should not see is left.
struct Shape {
    bool balanced = true;
    int depth = 0;
    std::size_t elements = 0;
    std::vector<std::string> names;
    std::string text;
};

Shape Read(const std::string& html) {
    static const std::vector<std::string> voids{"br", "hr", "img", "meta", "area"};
    Shape shape;
    std::vector<std::string> open;
    for (std::size_t at = 0; at < html.size();) {
        if (html[at] != '<') {
            shape.text += html[at++];
            continue;
        }
        const std::size_t end = html.find('>', at);
        if (end == std::string::npos) {
            shape.balanced = false;
            break;
        }
        const std::string tag = html.substr(at + 1, end - at - 1);
        at = end + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        const std::string name = tag.substr(closing ? 1 : 0, tag.find(' ') - (closing ? 1 : 0));
        if (closing) {
            if (open.empty() || open.back() != name)
                shape.balanced = false;
            else
                open.pop_back();
            continue;
        }
        shape.names.push_back(name);
        ++shape.elements;
        if (std::find(voids.begin(), voids.end(), name) == voids.end())
            open.push_back(name);
        shape.depth = std::max(shape.depth, static_cast<int>(open.size()));
    }
    if (!open.empty())
        shape.balanced = false;
    return shape;
}

TEST(PageMarkupTest, DeepAndUnclosedPagesComeOutClosedAndShallow) {
    for (const std::string& unit :
         {std::string("<div><font size=+1>x "), std::string("<table><tr><td>y "),
          std::string("<b><i>"), std::string("<ul><li>z<ol><li>"), std::string("<p><a href=x>")}) {
        const std::string page = Repeat(unit, PageMarkup::kMaxBytes / unit.size());
        const PageMarkup::Prepared prepared = PageMarkup::Prepare(page, kPage);
        const Shape shape = Read(prepared.html);
        EXPECT_TRUE(shape.balanced) << unit;
        EXPECT_LE(shape.depth, PageMarkup::kMaxDepth) << unit;
        EXPECT_LE(shape.elements, PageMarkup::kMaxElements + PageMarkup::kMaxDepth) << unit;
        EXPECT_LE(std::count(shape.names.begin(), shape.names.end(), "table"),
                  static_cast<long>(PageMarkup::kMaxElements));
    }
    // Tables inside tables stop at the table limit; their cells' text stays.
    const PageMarkup::Prepared tables = PageMarkup::Prepare(Repeat("<table><tr><td>t", 20), kPage);
    EXPECT_EQ(tables.html.find("<table>"), 0u);
    EXPECT_EQ(Read(tables.html).text, Repeat("t", 20));
    int depth = 0, most = 0;
    for (std::size_t at = 0; at < tables.html.size(); ++at) {
        if (tables.html.compare(at, 6, "<table") == 0)
            most = std::max(most, ++depth);
        if (tables.html.compare(at, 8, "</table>") == 0)
            --depth;
    }
    EXPECT_EQ(most, PageMarkup::kMaxTableDepth);
    // A row holds a bounded number of columns, spans included: the window keeps a grid of them.
    const std::string wide =
        PageMarkup::Prepare(Repeat("<td colspan=60>w", 3, "<table><tr>"), kPage).html;
    EXPECT_EQ(wide, "<table><tr><td colspan=\"60\">w</td><td colspan=\"4\">w</td>w</tr></table>");
    EXPECT_EQ(PageMarkup::Prepare("<table><td colspan=64 rowspan=64>a<td rowspan=9>b", kPage).html,
              "<table><tr><td colspan=\"64\" rowspan=\"4\">a</td>b</tr></table>");
    const std::string many = PageMarkup::Prepare(Repeat("<td>c", 500, "<table>"), kPage).html;
    EXPECT_EQ(Read(many).elements, 2u + PageMarkup::kMaxColumns);
}

TEST(PageMarkupTest, ImpliedEndsFollowHowBrowsersReadThem) {
    EXPECT_EQ(PageMarkup::Prepare("<p>a<p>b<ul><li>c<li>d</ul>", kPage).html,
              "<p>a</p><p>b</p><ul><li>c</li><li>d</li></ul>");
    EXPECT_EQ(PageMarkup::Prepare("<table><td>a<td>b<tr><th>c</table>", kPage).html,
              "<table><tr><td>a</td><td>b</td></tr><tr><th>c</th></tr></table>");
    // Cells outside a table, and ends of elements never opened, are dropped.
    EXPECT_EQ(PageMarkup::Prepare("<td>a</td></b></div><tr>b", kPage).html, "ab");
    EXPECT_EQ(PageMarkup::Prepare("<b><i>x</b>y</i>", kPage).html, "<b><i>x</i></b>y");
}

TEST(PageMarkupTest, WhatTheWindowDoesNotUseIsDropped) {
    const std::string page =
        "<!DOCTYPE html><html><head><title>@0#1#1#1#1#1 T</title><style>p{color:red}</style>"
        "<script>alert('<b>')</script><link rel=x href=y></head>"
        "<body onload=\"evil()\" bgcolor=#fff><!-- <b>hidden</b> --><iframe src=x>in</iframe>"
        "<p style=\"x\" onclick='y' align=center>Text <blink>on</blink> <SCRIPT>x</SCRIPT>"
        "<img src=/a.png onerror=z width=99999 height=50%><font size=+99 color=red>big</font>"
        "<table border=1000 cellpadding=-1><tr><td colspan=1000000 rowspan=0>c</td></tr></table>"
        "</body></html>";
    const PageMarkup::Prepared prepared = PageMarkup::Prepare(page, kPage);
    ASSERT_TRUE(prepared.usable);
    EXPECT_EQ(prepared.html,
              "<html><head><title>@0#1#1#1#1#1 T</title></head><body bgcolor=\"#fff\">in"
              "<p align=\"center\">Text on "
              "<img src=\"http://127.0.0.1:8080/a.png\" width=\"4000\" height=\"50%\">"
              "<font size=\"+7\" color=\"red\">big</font></p>"
              "<table border=\"64\"><tr><td colspan=\"64\" rowspan=\"1\">c</td></tr></table>"
              "</body></html>");
    // A script or comment left open takes the rest of the page with it, as in a browser.
    EXPECT_EQ(PageMarkup::Prepare("a<script>b<p>c", kPage).html, "a");
    EXPECT_EQ(PageMarkup::Prepare("a<!-- b<p>c", kPage).html, "a");
    EXPECT_EQ(PageMarkup::Prepare("a<b title='x>y'>c", kPage).html, "a<b>c</b>");
    EXPECT_EQ(PageMarkup::Prepare("a < b > c <3 \x01", kPage).html, "a &lt; b &gt; c &lt;3 ");
}

TEST(PageMarkupTest, AddressesAreMadeWholeAndPicturesStayOnTheHost) {
    const std::string page =
        "<a href=\"/about.html\">1</a><a href=\"../x?a=1&amp;b=2\">2</a><a href=#top>3</a>"
        "<a href=\"&#106;avascript:alert(1)\">4</a><a href=\"http://other:1/\">5</a>"
        "<img src=\"/img/x.png\"><img src=\"//other/p.png\"><img src=\"file:///etc/passwd\">"
        "<img src=\"http://127.0.0.1:8081/p.png\"><img alt=none>";
    EXPECT_EQ(PageMarkup::Prepare(page, kPage).html,
              "<a href=\"http://127.0.0.1:8080/about.html\">1</a>"
              "<a href=\"http://127.0.0.1:8080/x?a=1&amp;b=2\">2</a><a href=\"#top\">3</a>"
              "<a href=\"javascript:alert(1)\">4</a><a href=\"http://other:1/\">5</a>"
              "<img src=\"http://127.0.0.1:8080/img/x.png\">");
    // A base element moves links, never pictures.
    EXPECT_EQ(
        PageMarkup::Prepare("<base href=\"http://b/d/\"><a href=x>l</a><img src=y>", kPage).html,
        "<a href=\"http://b/d/x\">l</a><img src=\"http://127.0.0.1:8080/y\">");
}

TEST(PageMarkupTest, EmptyOversizedAndBinaryAnswersAreNotPages) {
    for (const std::string& body :
         {std::string(), std::string(" \r\n\t "), std::string("<html><body></body></html>"),
          std::string("<!-- only a comment -->"), std::string("<script>x</script>"),
          std::string("<title> </title>"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
          Repeat("a", PageMarkup::kMaxBytes + 1)}) {
        const PageMarkup::Prepared prepared = PageMarkup::Prepare(body, kPage);
        EXPECT_FALSE(prepared.usable) << body.substr(0, 40);
        EXPECT_FALSE(prepared.note.empty());
        EXPECT_TRUE(prepared.html.empty());
    }
    // A title alone steers the pane: it is a page.
    EXPECT_TRUE(PageMarkup::Prepare("<title>@</title>", kPage).usable);
    EXPECT_TRUE(PageMarkup::Prepare("<img src=a.png>", kPage).usable);
}

TEST(PageMarkupTest, LongPagesAreCutToWhatThePaneLaysOutQuickly) {
    const PageMarkup::Prepared words = PageMarkup::Prepare(Repeat("word ", 50000), kPage);
    ASSERT_TRUE(words.usable);
    EXPECT_FALSE(words.note.empty());
    EXPECT_EQ(words.html.size(), PageMarkup::kMaxWords * 5);
    const PageMarkup::Prepared one = PageMarkup::Prepare(Repeat("x", 200000), kPage);
    EXPECT_LE(one.html.size(), PageMarkup::kMaxText);
    // Blanks collapse as the window shows them; in preformatted text they count as text.
    EXPECT_EQ(PageMarkup::Prepare(Repeat(" \t\n", 50000, "a", "b"), kPage).html, "a b");
    const std::string tabs =
        PageMarkup::Prepare(Repeat("\t", 200000, "<pre>x", "y</pre>"), kPage).html;
    EXPECT_EQ(tabs, Repeat("\t", PageMarkup::kMaxText / 8, "<pre>x", "</pre>"));
    const Shape elements = Read(PageMarkup::Prepare(Repeat("<br>x", 50000), kPage).html);
    EXPECT_EQ(elements.elements, PageMarkup::kMaxElements);
    const std::string pictures = PageMarkup::Prepare(Repeat("<img src=p.png>", 1000), kPage).html;
    EXPECT_EQ(Read(pictures).elements, PageMarkup::kMaxPictures);
}

// The program's own pages use only what the window renders: they pass through unchanged.
TEST(PageMarkupTest, TheProgramsOwnPagesPassUnchanged) {
    int pages = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(ORLIMBER_SOURCE_DIR) + "/res/html")) {
        if (entry.path().extension() != ".html")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const PageMarkup::Prepared prepared = PageMarkup::Prepare(text.str(), kPage);
        EXPECT_TRUE(prepared.usable) << entry.path();
        EXPECT_EQ(prepared.html, text.str()) << entry.path();
        ++pages;
    }
    EXPECT_GE(pages, 10);
}

} // namespace
