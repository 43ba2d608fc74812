// Files whose reading would cost far more than the picture budget: each is refused by its
// size or decoded in bounded memory, in a child process whose added peak is measured. The
// decodes that stay within the budget are shaped so: a frame only where it shows, passes
// straight into the picture, a strip a band at a time that a stop signal can end.
#include "tests/support/BudgetBombs.h"
#include "tests/support/ChildMemory.h"

#include "image/core/CRaster.h"
#include "image/core/PictureBudget.h"
#include "image/core/StopSignal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

constexpr long kPeakLimitKb = 200 * 1024;

ChildOutcome DecodeInChild(const std::vector<BYTE>& bytes, DWORD type, StopSignal* stop = nullptr) {
    return RunInChild([&](std::string& text) {
        CRaster image;
        image.Info().decode.stop = stop;
        const bool ok = image.DecodeFromMemory(bytes, type);
        text = ok ? std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight())
                  : image.GetLastError();
        return ok;
    });
}

std::string TooLarge(const char* format, unsigned w, unsigned h, unsigned megabytes) {
    return std::string(format) + " picture of " + std::to_string(w) + " x " + std::to_string(h) +
           " pixels needs " + std::to_string(megabytes) + " MB to read; the limit is 160 MB";
}

TEST(BudgetBombs, EachIsRefusedOrReadWithinTheMemoryLimit) {
    const std::map<std::string, std::pair<bool, std::string>> outcomes = {
        // Only the 16 rows that show are decoded.
        {"gif_frame_65535_on_16", {true, "16x16"}},
        {"gif_1_on_32768_padded", {false, TooLarge("GIF", 32768, 32768, 1209)}},
        {"png_adam7_grey2_32000", {false, TooLarge("PNG", 32000, 32000, 513)}},
        {"png_adam7_rgba_10000", {false, TooLarge("PNG", 10000, 10000, 401)}},
        {"tiff_g4_65536x65535", {false, TooLarge("TIFF", 65536, 65535, 546)}},
        {"tiff_jpeg_progressive_13000", {false, TooLarge("TIFF", 13000, 13000, 1530)}}};
    const char* corpus = std::getenv("ORLIMBER_FUZZ_CORPUS");
    const std::map<DWORD, std::string> folders = {
        {CRaster::kTypeGif, "gif"}, {CRaster::kTypePng, "png"}, {CRaster::kTypeTif, "tiff"}};
    for (const PictureBombs::Bomb& bomb : BudgetBombs::All()) {
        SCOPED_TRACE(bomb.name);
        EXPECT_LT(bomb.bytes.size(), 400000u);
        const ChildOutcome out = DecodeInChild(bomb.bytes, bomb.type);
        EXPECT_EQ(out.ok, outcomes.at(bomb.name).first);
        EXPECT_EQ(out.text, outcomes.at(bomb.name).second);
        EXPECT_GE(out.addedKb, 0);
        EXPECT_LT(out.addedKb, kPeakLimitKb);
        if (corpus == nullptr)
            continue;
        for (const std::string& folder : {folders.at(bomb.type), std::string("detect")}) {
            const std::string dir = std::string(corpus) + "/" + folder;
            std::filesystem::create_directories(dir);
            std::ofstream(dir + "/" + bomb.name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bomb.bytes.data()),
                       std::streamsize(bomb.bytes.size()));
        }
    }
}

// Answers "stop" from its n-th poll on.
class StopAfter : public StopSignal {
public:
    explicit StopAfter(int polls) : left_(polls) {}
    bool Poll() override { return --left_ <= 0; }

private:
    int left_;
};

// Just within the budget, the same shapes decode in bounded memory, and a stop ends them.
TEST(BudgetBombs, ShapesWithinTheBudgetDecodeBoundedAndStop) {
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> bytes;
    };
    const Case cases[] = {
        // 128 MB of 2-bit grey (read at 4 bits) from 64 MB of zero rows in seven passes.
        {"png 2-bit 16000", CRaster::kTypePng, BudgetBombs::detail::InterlacedPng(16000, 2, 0)},
        // 134 MB of G4 page in one strip of 4 KB, read a band at a time.
        {"g4 32768", CRaster::kTypeTif, BudgetBombs::detail::G4Tiff(32768, 32768)},
        // A frame on a screen of 100 million 1-bit pixels with its coverage.
        {"gif 11000 screen", CRaster::kTypeGif,
         BudgetBombs::detail::Gif(11000, 11000, 11000, 11000,
                                  BudgetBombs::detail::FlatLzw(11000 * 2000, 2))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildOutcome out = DecodeInChild(c.bytes, c.type);
        EXPECT_TRUE(out.ok) << out.text;
        EXPECT_LT(out.addedKb, kPeakLimitKb);
        StopAfter stop(3);
        const ChildOutcome stopped = DecodeInChild(c.bytes, c.type, &stop);
        EXPECT_FALSE(stopped.ok);
        EXPECT_EQ(stopped.text, CRaster::kCancelled);
    }
}

} // namespace

namespace {

// An interlaced first frame, narrower than the screen's height, whose data ends after three
// of its rows (rows 0, 4 and 2 in its pass order): those show, the rest of its rectangle is
// left out (transparent), and the rows below it keep the background.
TEST(BudgetBombs, AFrameCutShortShowsTheRowsItsDataGave) {
    std::vector<BYTE> gif =
        BudgetBombs::detail::Gif(4, 10, 4, 8, BudgetBombs::detail::FlatLzw(12, 2));
    gif[28] = 0x40; // interlaced
    CRaster image;
    ASSERT_TRUE(image.DecodeFromMemory(gif, CRaster::kTypeGif)) << image.GetLastError();
    ASSERT_TRUE(image.IsAlphaValid());
    for (LONG top = 0; top < 10; ++top) {
        const bool shown = top == 0 || top == 2 || top == 4 || top >= 8;
        for (LONG x = 0; x < 4; ++x)
            EXPECT_EQ(image.GetAlpha(x, 9 - top), shown ? 255 : 0) << x << "," << top;
    }
}

} // namespace

namespace {

// Every reader answers to the budget it is handed, and names itself and the size it refuses.
TEST(BudgetBombs, EveryReaderHoldsToTheBudgetItIsHanded) {
    const std::pair<DWORD, const char*> formats[] = {
        {CRaster::kTypeBmp, "BMP"},  {CRaster::kTypeGif, "GIF"}, {CRaster::kTypePng, "PNG"},
        {CRaster::kTypeTif, "TIFF"}, {CRaster::kTypeTga, "TGA"}, {CRaster::kTypePcx, "PCX"},
        {CRaster::kTypeIco, "Icon"}, {CRaster::kTypePnm, "PNM"}, {CRaster::kTypeRas, "Sun raster"},
        {CRaster::kTypeWbmp, "WBMP"}};
    for (const auto& [type, name] : formats) {
        SCOPED_TRACE(name);
        CRaster source(200, 100, type == CRaster::kTypeWbmp ? 1 : 8, type);
        source.SetGrayPalette();
        std::vector<BYTE> bytes;
        ASSERT_TRUE(source.EncodeToMemory(bytes, type)) << source.GetLastError();
        CRaster image;
        image.Info().decode.budget = 2000;
        EXPECT_FALSE(image.DecodeFromMemory(bytes, type));
        EXPECT_EQ(std::string(image.GetLastError())
                      .rfind(std::string(name) + " picture of 200 x 100 pixels needs ", 0),
                  0u)
            << image.GetLastError();
        EXPECT_FALSE(image.IsValid());
        image.Info().decode.budget = PictureBudget::kPictureBytes;
        EXPECT_TRUE(image.DecodeFromMemory(bytes, type)) << image.GetLastError();
    }
}

} // namespace
