// Small files that claim huge pictures, against the newer readers (JPEG, TIFF, JPEG 2000):
// each is refused with its reason, in a child process whose added peak memory is measured, and
// each limit is shown to hold on its own. A stop signal ends a long decode.
#include "tests/support/ChildMemory.h"
#include "tests/support/PictureBombs.h"

#include "image/core/CRaster.h"
#include "image/core/StopSignal.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

constexpr long kPeakLimitKb = 200 * 1024;

ChildOutcome DecodeInChild(const PictureBombs::Bomb& bomb) {
    return RunInChild([&](std::string& text) {
        CRaster image;
        const bool ok = image.DecodeFromMemory(bomb.bytes, bomb.type);
        text = image.GetLastError();
        return ok;
    });
}

TEST(PictureBombs, EachIsRefusedWithinTheMemoryLimit) {
    const std::map<std::string, std::string> reasons = {
        // Coefficients of every scan are held at full size, whatever the scale; a code stream
        // without resolution levels cannot be read smaller.
        {"jpeg_grey_23000", "JPEG picture of 23000 x 23000 pixels needs "},
        {"jpeg_scans_500_13000", "JPEG picture of 13000 x 13000 pixels needs "},
        {"j2k_9400_64_tiles", "JPEG 2000 picture of 9400 x 9400 pixels needs "},
        {"jp2_9400", "JP2 picture of 9400 x 9400 pixels needs "},
        {"tiff_13000x1_tile_13008", "TIFF tile larger than its picture"},
        {"tiff_rgba16_13000_shared_strips", "TIFF strips larger than the file"}};
    for (const PictureBombs::Bomb& bomb : PictureBombs::All()) {
        SCOPED_TRACE(bomb.name);
        EXPECT_LT(bomb.bytes.size(), 16384u);
        const ChildOutcome out = DecodeInChild(bomb);
        EXPECT_FALSE(out.ok);
        // The reason, or the start of a refusal that goes on with the numbers.
        EXPECT_EQ(out.text.substr(0, reasons.at(bomb.name).size()), reasons.at(bomb.name));
        EXPECT_GE(out.addedKb, 0);
        EXPECT_LT(out.addedKb, kPeakLimitKb);
        // Detection gives up on it just as well.
        CRaster detected;
        EXPECT_FALSE(detected.DecodeFromMemory(bomb.bytes, CRaster::kTypeUnknown));
    }
}

TEST(PictureBombs, EachLimitHoldsOnItsOwn) {
    // Scans: a small picture of 500 scans is refused, one of 100 still decodes.
    CRaster image;
    EXPECT_FALSE(
        image.DecodeFromMemory(PictureBombs::ManyScanJpeg(16, 500).bytes, CRaster::kTypeJpg));
    EXPECT_STREQ(image.GetLastError(), "Too many scans in JPEG");
    ASSERT_TRUE(
        image.DecodeFromMemory(PictureBombs::ManyScanJpeg(16, 100).bytes, CRaster::kTypeJpg))
        << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), 16u);

    // Coefficient memory: 12000 x 12000 progressive grey with bytes enough behind it for
    // one bit a block still needs 288 MB of coefficients at any scale.
    PictureBombs::Bomb big = PictureBombs::HugeGreyJpeg();
    PictureBombs::detail::DeclareSize(big.bytes, 12000, 12000);
    big.bytes.resize(big.bytes.size() + 300000, 0);
    const ChildOutcome coefficients = DecodeInChild(big);
    EXPECT_FALSE(coefficients.ok);
    EXPECT_EQ(coefficients.text.rfind("JPEG picture of 12000 x 12000 pixels needs ", 0), 0u);
    EXPECT_LT(coefficients.addedKb, kPeakLimitKb);

    // A tile far larger than its picture, with all its bytes present, uncompressed.
    constexpr unsigned kTile = 2048;
    const std::vector<BYTE> tileBytes(std::size_t{kTile} * kTile * 3, 0x80);
    const std::vector<BYTE> tiled =
        PictureBombs::detail::Tiff({{256, 4, 1, {16}},
                                    {257, 4, 1, {1}},
                                    {258, 3, 3, {8, 8, 8}},
                                    {259, 3, 1, {1}},
                                    {262, 3, 1, {2}},
                                    {277, 3, 1, {3}},
                                    {322, 4, 1, {kTile}},
                                    {323, 4, 1, {kTile}},
                                    {324, 4, 1, {0}},
                                    {325, 4, 1, {unsigned(tileBytes.size())}}},
                                   tileBytes, 324);
    EXPECT_FALSE(image.DecodeFromMemory(tiled, CRaster::kTypeTif));
    EXPECT_STREQ(image.GetLastError(), "TIFF tile larger than its picture");
}

// Answers "stop" from its n-th poll on.
class StopAfter : public StopSignal {
public:
    explicit StopAfter(int polls) : left_(polls) {}
    bool Poll() override { return --left_ <= 0; }
    int Left() const { return left_; }

private:
    int left_;
};

TEST(PictureBombs, AStopSignalEndsADecodeAndTheDetection) {
    // Tall enough that every format asks the signal several times (TIFF once a strip).
    CRaster source(600, 1600, 24, CRaster::kTypeJpg);
    source.Clear(0x40);
    struct Case {
        DWORD type;
        DWORD option;
    };
    for (const Case c : {Case{CRaster::kTypeJpg, 0x10}, Case{CRaster::kTypeTif, 8},
                         Case{CRaster::kTypeJp2, 0}, Case{CRaster::kTypePng, 0}}) {
        SCOPED_TRACE(c.type);
        source.SetCodecOption(c.option, c.type);
        std::vector<BYTE> bytes;
        ASSERT_TRUE(source.EncodeToMemory(bytes, c.type));
        StopAfter stop(3);
        CRaster image;
        image.Info().decode.stop = &stop;
        EXPECT_FALSE(image.DecodeFromMemory(bytes, CRaster::kTypeUnknown));
        EXPECT_STREQ(image.GetLastError(), CRaster::kCancelled);
        EXPECT_FALSE(image.IsValid());
        // No other format was asked after the stop.
        EXPECT_EQ(stop.Left(), 0);

        StopAfter never(1 << 30);
        image.Info().decode.stop = &never;
        EXPECT_TRUE(image.DecodeFromMemory(bytes, c.type)) << image.GetLastError();
    }
}

} // namespace
