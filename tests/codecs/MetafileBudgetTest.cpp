// Metafiles whose records ask for far more work or memory than they are worth: each ends in a
// bounded play, measured in a child process, and a stop signal is heard inside a long record.
#include "MetafileBombs.h"
#include "tests/support/ChildMemory.h"

#include "image/core/CRaster.h"
#include "image/core/StopSignal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr long kPeakLimitKb = 200 * 1024;

ChildOutcome PlayInChild(const std::vector<BYTE>& bytes, COLORREF* probe = nullptr) {
    return RunInChild([&](std::string& text) {
        CRaster image;
        const bool ok = image.DecodeFromMemory(bytes, CRaster::kTypeWmf);
        text = image.GetLastError();
        if (ok && probe) {
            const RGBQUAD c = image.GetPixelColor(10, LONG(image.GetHeight()) - 11, false);
            text = std::to_string(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
        }
        return ok;
    });
}

class CountingStop : public StopSignal {
public:
    bool Poll() override { return ++polls > stopAt; }
    int polls = 0;
    int stopAt = 1 << 30;
};

// Text of height 0 is charged at the 16 pixels it is drawn at: 4000 texts of 16000
// characters are cut short, well within the memory limit.
TEST(MetafileBudget, TextIsChargedAtItsDrawnHeight) {
    const std::vector<BYTE> bomb = MetafileBombs::PolyTextEmf(4000, 16000);
    EXPECT_LT(bomb.size(), 200u * 1024);
    const ChildOutcome out = PlayInChild(bomb);
    EXPECT_TRUE(out.ok);
    EXPECT_EQ(out.text, "EMF cut short: more drawing than its size justifies");
    RecordProperty("addedKb", std::to_string(out.addedKb));
    EXPECT_LT(out.addedKb, kPeakLimitKb);
    // A few such texts are drawn whole.
    CRaster few;
    ASSERT_TRUE(few.DecodeFromMemory(MetafileBombs::PolyTextEmf(4, 100), CRaster::kTypeWmf));
    EXPECT_STRNE(few.GetLastError(), out.text.c_str());
}

// The stop is asked inside one long record, not only between records, and ends the play.
TEST(MetafileBudget, AStopIsHeardInsideALongRecord) {
    const std::vector<BYTE> bomb = MetafileBombs::PolyTextEmf(4000, 16000);
    CountingStop counting;
    CRaster image;
    image.Info().decode.stop = &counting;
    image.DecodeFromMemory(bomb, CRaster::kTypeWmf);
    // Three records (header, texts, end) are asked about before they are played.
    EXPECT_GT(counting.polls, 4);

    CountingStop stop;
    stop.stopAt = 3;
    CRaster stopped;
    stopped.Info().decode.stop = &stop;
    EXPECT_FALSE(stopped.DecodeFromMemory(bomb, CRaster::kTypeWmf));
    EXPECT_STREQ(stopped.GetLastError(), CRaster::kCancelled);
}

// Pattern brushes too large to be patterns are never decoded: their average colour comes from
// their runs. A bitmap that would not fit beside the picture is refused before it is decoded.
TEST(MetafileBudget, BitmapsAreChargedBeforeTheyAreDecoded) {
    const std::vector<BYTE> brushes = MetafileBombs::PatternBrushesEmf(4, 13000);
    EXPECT_LT(brushes.size(), 6u * 1000 * 1000);
    COLORREF probe = 0;
    const ChildOutcome painted = PlayInChild(brushes, &probe);
    EXPECT_TRUE(painted.ok);
    RecordProperty("brushesAddedKb", std::to_string(painted.addedKb));
    EXPECT_LT(painted.addedKb, kPeakLimitKb);
    // Half the runs black, half (200, 0, 200): the rectangles are painted in their average.
    EXPECT_EQ(painted.text, std::to_string(RGB(100, 0, 100)));

    const ChildOutcome stretched = PlayInChild(MetafileBombs::StretchedRleEmf(13000));
    EXPECT_TRUE(stretched.ok);
    EXPECT_EQ(stretched.text, "EMF cut short: Bitmap picture of 13000 x 13000 pixels needs 169 "
                              "MB to read; the limit is 96 MB");
    RecordProperty("stretchedAddedKb", std::to_string(stretched.addedKb));
    EXPECT_LT(stretched.addedKb, kPeakLimitKb);
    // A small one is drawn.
    CRaster small;
    ASSERT_TRUE(small.DecodeFromMemory(MetafileBombs::StretchedRleEmf(300), CRaster::kTypeWmf));
    EXPECT_EQ(small.GetPixelColor(2000, 2000, false).rgbRed, 200);
}

} // namespace
