#include "dialogs/BalloonGeometry.h"
#include "dialogs/HelpFileReader.h"
#include "dialogs/RichEditFormatting.h"
#include "dialogs/RtfReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

TEST(BalloonGeometry, PlacesAboveOrBelowTheAnchorWithThePartsOutline) {
    EXPECT_EQ(BalloonGeometry::Place(500, 400, 200, 100, true), (BalloonRect{370, 300, 570, 400}));
    EXPECT_EQ(BalloonGeometry::Place(500, 400, 200, 100, false), (BalloonRect{430, 400, 630, 500}));

    const BalloonShape down = BalloonGeometry::Shape(200, 100, true);
    EXPECT_EQ(down.text, (BalloonRect{20, 10, 180, 70}));
    EXPECT_EQ(down.body, (BalloonRect{0, 0, 200, 75}));
    EXPECT_EQ(down.cornerWidth, 36);
    EXPECT_EQ(down.cornerHeight, 25);
    EXPECT_EQ(down.pointer[0], (BalloonPoint{186, 60}));
    EXPECT_EQ(down.pointer[1], (BalloonPoint{130, 100}));
    EXPECT_EQ(down.pointer[2], (BalloonPoint{140, 60}));

    const BalloonShape up = BalloonGeometry::Shape(200, 100, false);
    EXPECT_EQ(up.text, (BalloonRect{20, 30, 180, 90}));
    EXPECT_EQ(up.body, (BalloonRect{0, 25, 200, 100}));
    EXPECT_EQ(up.pointer[0], (BalloonPoint{14, 40}));
    EXPECT_EQ(up.pointer[1], (BalloonPoint{70, 0}));
    EXPECT_EQ(up.pointer[2], (BalloonPoint{60, 40}));

    // The pointer tip lands on the anchor once the window sits on its placed rectangle.
    const BalloonRect placed = BalloonGeometry::Place(500, 400, 200, 100, true);
    EXPECT_EQ(placed.left + down.pointer[1].x, 500);
    EXPECT_EQ(placed.top + down.pointer[1].y, 400);
}

TEST(BalloonGeometry, OneBalloonAtATimeAndSaneTimers) {
    ASSERT_FALSE(BalloonSlot::Shown());
    EXPECT_TRUE(BalloonSlot::Claim());
    EXPECT_FALSE(BalloonSlot::Claim());
    BalloonSlot::Release();
    EXPECT_TRUE(BalloonSlot::Claim());
    BalloonSlot::Release();
    EXPECT_EQ(BalloonGeometry::TimerMilliseconds(3), 3000);
    EXPECT_EQ(BalloonGeometry::TimerMilliseconds(-5), 0);
    EXPECT_EQ(BalloonGeometry::TimerMilliseconds(3'000'000), 0x7fffffff);
}

TEST(RichEditToggles, RememberedStateDecidesAndBulletsAlternate) {
    RichEditToggles toggles;
    // Already italic text with the remembered state at 1 is set italic again.
    EXPECT_TRUE(toggles.NextItalic());
    EXPECT_FALSE(toggles.NextItalic());
    EXPECT_TRUE(toggles.NextItalic());
    EXPECT_TRUE(toggles.NextUnderline());
    EXPECT_FALSE(toggles.NextUnderline());

    EXPECT_FALSE(RichEditToggles::BoldAfterToggle(true, true));
    EXPECT_TRUE(RichEditToggles::BoldAfterToggle(true, false));
    EXPECT_TRUE(RichEditToggles::BoldAfterToggle(false, true));

    const ParagraphBullets on = RichEditToggles::ToggleBullets({});
    EXPECT_TRUE(on.bullets);
    EXPECT_EQ(on.offset, 4);
    const ParagraphBullets keep = RichEditToggles::ToggleBullets({false, false, 9, 2});
    EXPECT_EQ(keep.offset, 9);
    const ParagraphBullets off = RichEditToggles::ToggleBullets(on);
    EXPECT_FALSE(off.bullets);
    EXPECT_EQ(off.offset, 0);
    EXPECT_EQ(off.startIndent, 0);
}

TEST(PrintPageArithmetic, WholeInchesFirst) {
    EXPECT_EQ(PrintPageArithmetic::Twips(4960, 600), 11520);
    EXPECT_EQ(PrintPageArithmetic::Twips(7015, 600), 11 * 1440);
    EXPECT_EQ(PrintPageArithmetic::Twips(4960, 0), 0);
    EXPECT_EQ(PrintPageArithmetic::Twips(-1, 600), 0);
}

TEST(RtfReader, ReadsStylesTablesAndParagraphs) {
    const RtfDocument doc = RtfReader::Read(
        R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}{\f1 Courier New;}}{\colortbl ;\red255\green0\blue0;})"
        R"({\*\generator X {nested}}\pard\qc\f1\fs40\b Big\b0  {\i it}\par)"
        "\\ql\\cf1\\ul caf\\'e9\\ul0 \\'80 \\u8364?x\\u-3913?\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 2u);
    const RtfParagraph& p0 = doc.paragraphs[0];
    EXPECT_EQ(p0.align, RichAlign::Centre);
    EXPECT_EQ(p0.PlainText(), "Big it");
    ASSERT_EQ(p0.runs.size(), 3u);
    EXPECT_TRUE(p0.runs[0].style.bold);
    EXPECT_EQ(p0.runs[0].style.halfPoints, 40);
    EXPECT_EQ(p0.runs[0].style.face, "Courier New");
    EXPECT_TRUE(p0.runs[2].style.italic);
    EXPECT_FALSE(p0.runs[2].style.bold);

    const RtfParagraph& p1 = doc.paragraphs[1];
    EXPECT_EQ(p1.align, RichAlign::Left);
    EXPECT_EQ(p1.PlainText(), "caf\xC3\xA9\xE2\x82\xAC \xE2\x82\xACx\xEF\x82\xB7");
    EXPECT_EQ(p1.runs[0].style.colour, 0xFF0000u);
    EXPECT_TRUE(p1.runs[0].style.underline);
}

TEST(RtfReader, HostileInputEndsCleanly) {
    EXPECT_EQ(RtfReader::Read("{\\rtf1 a}b}c").PlainText(), "a");
    EXPECT_EQ(RtfReader::Read("{\\rtf1 {\\b x").PlainText(), "x");
    EXPECT_EQ(RtfReader::Read("{\\rtf1 q\\'e").PlainText(), "q");
    EXPECT_EQ(RtfReader::Read("{\\rtf1 q\\").PlainText(), "q");
    EXPECT_EQ(RtfReader::Read("{\\rtf1 \\cf99 \\f-7 \\fs99999999999999999 z}").PlainText(), "z");
    EXPECT_EQ(RtfReader::Read("{\\rtf1 \\u99999999 ?\\uc0\\u65 B}").PlainText(), "\xEF\xBF\xBD"
                                                                                 "AB");
    EXPECT_EQ(RtfReader::Read("").PlainText(), "");
    const std::string deep = "{\\rtf1 " + std::string(100000, '{') + "x";
    EXPECT_EQ(RtfReader::Read(deep).PlainText(), "");
}

TEST(RtfReader, ReadsOurHelpFile) {
    std::ifstream in(std::string(ORLIMBER_TEST_DATA) + "/../../help/help.rtf", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const RtfDocument doc = RtfReader::Read(bytes.str());
    ASSERT_GE(doc.paragraphs.size(), 5u);
    EXPECT_EQ(doc.paragraphs.front().PlainText(), "Orlimber Help");
    EXPECT_EQ(doc.paragraphs.front().align, RichAlign::Centre);
    EXPECT_EQ(doc.paragraphs.back().align, RichAlign::Right);
    EXPECT_EQ(doc.PlainText().find("Orlimber;"), std::string::npos);
    EXPECT_EQ(doc.PlainText().find("Arial"), std::string::npos);
}

} // namespace

namespace {

TEST(HelpFileReader, ReadsOurFileAndExplainsAMissingOne) {
    const HelpFileContents ours =
        HelpFileReader::Read(std::string(ORLIMBER_TEST_DATA) + "/../../help");
    EXPECT_TRUE(ours.error.empty());
    EXPECT_EQ(ours.bytes.rfind("{\\rtf1", 0), 0u);
    const HelpFileContents missing = HelpFileReader::Read("/nonexistent-orlimber-help");
    EXPECT_TRUE(missing.bytes.empty());
    EXPECT_NE(missing.error.find("could not be opened"), std::string::npos);
}

} // namespace
