#include "document/CLogicalRectTracker.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "tests/support/LineRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr LONG kPageWidth = 7499;
constexpr LONG kPageHeight = 9499;

// The lines of a text object as the screen's page buffer shows them: 0.001 inch units at 96
// pixels per inch.
std::vector<std::string> OnScreen(CLogicalRectTracker& object) {
    LineRecorder::Drawn drawn;
    CDC dc(std::make_unique<LineRecorder>(96, drawn));
    dc.SetMapMode(MM_HIENGLISH);
    object.Draw(dc);
    return drawn.lines;
}

// ... as a page scaled onto `pixels` of a device of `dpi` shows them, the way pictures are
// exported and pages printed.
std::vector<std::string> Scaled(CLogicalRectTracker& object, int dpi, CSize pixels, CPoint origin) {
    LineRecorder::Drawn drawn;
    CDC dc(std::make_unique<LineRecorder>(dpi, drawn));
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(CSize(kPageWidth, -kPageHeight));
    dc.SetViewportExt(pixels);
    dc.SetViewportOrg(origin);
    object.Draw(dc);
    return drawn.lines;
}

CLogicalRectTracker TextObject(const std::string& text, const char* face, int tenths, LONG width) {
    CLogicalRectTracker object;
    object.SetKind(CLogicalRectTracker::kindTextTransparent);
    object.SetLayer(CLogicalRectTracker::layerText);
    object.SetText(text);
    CHOOSEFONT choose;
    choose.iPointSize = tenths;
    LOGFONT log;
    log.lfWeight = FW_NORMAL;
    log.SetFaceName(face);
    object.SetFont(choose, log);
    object.SetLogicalRect(531, -1207, 531 + width, -1207 - 3000);
    return object;
}

} // namespace

// Lines that break at a different word on paper or in a picture than on the screen lose words
// to the clip or move them: every device breaks where the screen does.
TEST(TextObjectLines, ScreenPicturesAndPaperBreakAtTheSameWords) {
    const std::string texts[] = {
        "The quick brown fox jumps over the lazy dog, and then over the maze wall again",
        "Start here and find the way out before the minotaur wakes up from his nap",
        "Mmmm WWWW iiii llll .... mmmm wwww IIII",
        "Solve me",
    };
    const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
    for (const std::string& text : texts)
        for (const char* face : faces)
            for (int tenths = 80; tenths <= 200; tenths += 15)
                for (LONG width = 900; width <= 3200; width += 97) {
                    CLogicalRectTracker object = TextObject(text, face, tenths, width);
                    const auto screen = OnScreen(object);
                    const auto picture = Scaled(object, 96, {1777, 2251}, {0, 0});
                    const auto paper = Scaled(object, 600, {4499, 5699}, {-97, -113});
                    ASSERT_FALSE(screen.empty());
                    ASSERT_EQ(picture, screen)
                        << face << " " << tenths << " in " << width << ": " << text;
                    ASSERT_EQ(paper, screen)
                        << face << " " << tenths << " in " << width << ": " << text;
                }
}
