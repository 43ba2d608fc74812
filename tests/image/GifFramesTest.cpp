// GIF files built byte by byte: code sizes our writer never uses, frames that overhang the
// screen or leave pixels out, files far smaller than the picture they claim.
#include "../codecs/GifBytes.h"

#include "image/codecs/CRasterGIF.h"
#include "image/core/CRasterMemFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

using GifBytes::FrameSpec;
using GifBytes::MakeGif;
using GifBytes::PlainLzw;

std::vector<BYTE> Pattern(std::size_t n, int modulo) {
    std::vector<BYTE> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<BYTE>((i * 7 + i / 5) % std::size_t(modulo));
    return v;
}

bool Decode(const std::vector<BYTE>& bytes, CRaster& out) {
    return out.DecodeFromMemory(bytes, CRaster::kTypeGif);
}

// Index of the screen pixel (x, top) of a decoded picture.
BYTE IndexAt(const CRaster& image, int x, int top) {
    return image.GetPixelIndex(x, static_cast<LONG>(image.GetHeight()) - 1 - top);
}

BYTE AlphaAt(const CRaster& image, int x, int top) {
    return image.IsAlphaValid() ? image.GetAlpha(x, static_cast<LONG>(image.GetHeight()) - 1 - top)
                                : 255;
}

// Minimum code sizes up to 11 keep codes within 12 bits and decode like any other; larger
// ones cannot be decoded and fail with a text instead of giving a blank picture.
TEST(GifFrames, WideMinimumCodeSizesDecodeOrFailAloud) {
    for (const int codeSize : {2, 8, 9, 10, 11}) {
        FrameSpec f;
        f.width = 37;
        f.height = 29;
        f.codeSize = codeSize;
        f.indices = Pattern(37 * 29, codeSize == 2 ? 4 : 256);
        CRaster image;
        ASSERT_TRUE(Decode(MakeGif(37, 29, {f}), image)) << codeSize << image.GetLastError();
        bool same = true;
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 37; ++x)
                same &= IndexAt(image, x, y) == f.indices[std::size_t(y) * 37 + std::size_t(x)];
        EXPECT_TRUE(same) << codeSize;
    }
    FrameSpec f;
    f.width = f.height = 4;
    f.codeSize = 8;
    f.indices = Pattern(16, 256);
    auto bytes = MakeGif(4, 4, {f});
    // The frame's data, then the trailer, end the file.
    const std::size_t sizeAt = bytes.size() - 1 - PlainLzw(f.indices, 8).size();
    ASSERT_EQ(bytes[sizeAt], 8);
    for (const BYTE bad : {0, 1, 12, 200}) {
        bytes[sizeAt] = bad;
        CRaster image;
        EXPECT_FALSE(Decode(bytes, image)) << int(bad);
        EXPECT_STRNE(image.GetLastError(), "") << int(bad);
        EXPECT_FALSE(image.IsValid());
    }
}

// A frame reaching past the screen is clipped to it; one wholly outside is skipped.
TEST(GifFrames, OverhangingFramesAreClippedAndOutsideFramesSkipped) {
    FrameSpec base;
    base.width = base.height = 8;
    base.indices = std::vector<BYTE>(64, 3);
    FrameSpec over;
    over.left = 5;
    over.top = 6;
    over.width = 10;
    over.height = 4;
    over.indices = Pattern(40, 200);
    FrameSpec outside = over;
    outside.left = 9;
    outside.top = 0;
    for (const bool interlaced : {false, true}) {
        auto bytes = MakeGif(8, 8, {base, over, outside});
        if (interlaced) {
            // Four rows are stored in the order 0, 2, 1, 3 (passes start at 0, 4, 2, 1).
            FrameSpec swapped = over;
            for (int x = 0; x < 10; ++x) {
                swapped.indices[std::size_t(1 * 10 + x)] = over.indices[std::size_t(2 * 10 + x)];
                swapped.indices[std::size_t(2 * 10 + x)] = over.indices[std::size_t(1 * 10 + x)];
            }
            bytes = MakeGif(8, 8, {base, swapped, outside});
            // The second image descriptor (after its control block) gets the interlace flag.
            std::size_t seen = 0;
            for (std::size_t i = 13 + 768; i + 9 < bytes.size(); ++i)
                if (bytes[i] == 0x2C && bytes[i - 8] == 0x21 && ++seen == 2) {
                    bytes[i + 9] = 0x40;
                    break;
                }
        }
        CRaster image;
        image.Info().frame = 1;
        ASSERT_TRUE(Decode(bytes, image)) << image.GetLastError();
        EXPECT_EQ(image.GetNumFrames(), 2);
        EXPECT_EQ(image.GetWidth(), 8u);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 5 && y >= 6;
                const BYTE expected =
                    inside ? over.indices[std::size_t(y - 6) * 10 + std::size_t(x - 5)] : 3;
                EXPECT_EQ(IndexAt(image, x, y), expected) << interlaced << " " << x << "," << y;
            }
    }
    CRaster none;
    EXPECT_FALSE(Decode(MakeGif(8, 8, {outside}), none));
    EXPECT_STRNE(none.GetLastError(), "");
}

// Pixels that the data never supplies and areas that no frame covers stay transparent where
// the file gives something to go on; without that, the index-0 fill stays.
TEST(GifFrames, UnsuppliedAndUncoveredPixelsStayTransparent) {
    // Data ends after 10 of 24 pixels; no transparent index anywhere.
    FrameSpec cut;
    cut.left = 2;
    cut.width = 6;
    cut.height = 4;
    cut.indices = std::vector<BYTE>(10, 9);
    CRaster image;
    ASSERT_TRUE(Decode(MakeGif(10, 5, {cut}), image)) << image.GetLastError();
    ASSERT_TRUE(image.IsAlphaValid());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inFrame = x >= 2 && x < 8 && y < 4;
            const bool supplied = inFrame && (y * 6 + (x - 2)) < 10;
            EXPECT_EQ(AlphaAt(image, x, y), inFrame && !supplied ? 0 : 255) << x << "," << y;
            EXPECT_EQ(IndexAt(image, x, y), supplied ? 9 : 0) << x << "," << y;
        }

    // A second, truncated frame lets the first show through where it gives nothing.
    FrameSpec full;
    full.width = 10;
    full.height = 5;
    full.indices = std::vector<BYTE>(50, 4);
    FrameSpec partial = full;
    partial.indices = std::vector<BYTE>(12, 5);
    CRaster two;
    two.Info().frame = 1;
    ASSERT_TRUE(Decode(MakeGif(10, 5, {full, partial}), two)) << two.GetLastError();
    EXPECT_FALSE(two.IsAlphaValid());
    EXPECT_EQ(IndexAt(two, 1, 1), 5);
    EXPECT_EQ(IndexAt(two, 2, 1), 4);
    EXPECT_EQ(IndexAt(two, 9, 4), 4);

    // A transparent index that only a later frame names still makes the uncovered border
    // transparent, without turning the first frame's opaque pixels of that index into holes.
    FrameSpec small;
    small.left = 3;
    small.top = 1;
    small.width = small.height = 2;
    small.indices = {6, 6, 6, 6};
    FrameSpec keyed = small;
    keyed.left = 0;
    keyed.top = 0;
    keyed.width = 1;
    keyed.height = 1;
    keyed.indices = {1};
    keyed.transparent = 6;
    CRaster border;
    border.Info().frame = 1;
    ASSERT_TRUE(Decode(MakeGif(6, 4, {small, keyed}), border)) << border.GetLastError();
    ASSERT_TRUE(border.IsAlphaValid());
    EXPECT_EQ(AlphaAt(border, 3, 1), 255);
    EXPECT_EQ(IndexAt(border, 3, 1), 6);
    EXPECT_EQ(AlphaAt(border, 0, 0), 255);
    EXPECT_EQ(AlphaAt(border, 5, 3), 0);
    EXPECT_EQ(AlphaAt(border, 1, 0), 0);

    // No transparent index and a frame that covers only part of the screen: nothing else to
    // go on, so the border keeps the opaque index-0 fill.
    CRaster plain;
    ASSERT_TRUE(Decode(MakeGif(6, 4, {small}), plain));
    EXPECT_FALSE(plain.IsAlphaValid());
    EXPECT_EQ(IndexAt(plain, 0, 0), 0);

    // A frame whose data gives no pixel at all is no picture.
    FrameSpec empty = small;
    empty.indices.clear();
    CRaster nothing;
    EXPECT_FALSE(Decode(MakeGif(6, 4, {empty}), nothing));
    EXPECT_STRNE(nothing.GetLastError(), "");
}

// A few dozen bytes claiming a screen of billions of pixels are refused at once, before any
// picture is made; the same goes for many huge frames in a small file.
TEST(GifFrames, PicturesFarLargerThanTheirDataAreRefusedQuickly) {
    FrameSpec tiny;
    tiny.indices = {1};
    const auto start = std::chrono::steady_clock::now();
    CRaster huge;
    EXPECT_FALSE(Decode(MakeGif(65289, 58112, {tiny}), huge));
    EXPECT_STREQ(huge.GetLastError(),
                 "GIF picture of 65289 x 58112 pixels needs 7589 MB to read; the limit is 160 MB");
    EXPECT_FALSE(huge.IsValid());

    FrameSpec big;
    big.width = big.height = 2000;
    big.indices = {1, 2};
    big.disposal = 3;
    std::vector<FrameSpec> many(200, big);
    const auto bytes = MakeGif(2000, 2000, many);
    CRaster churn;
    churn.Info().frame = 199;
    EXPECT_FALSE(Decode(bytes, churn));
    EXPECT_STREQ(churn.GetLastError(), "picture larger than its data");
    // Not a timing assertion: a guard that the refusal does not first do all the work.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    // A small file whose frames are all fully supplied decodes as before.
    FrameSpec whole;
    whole.width = 300;
    whole.height = 200;
    whole.indices = Pattern(300 * 200, 256);
    CRaster fine;
    EXPECT_TRUE(Decode(MakeGif(300, 200, {whole, whole, whole}), fine)) << fine.GetLastError();
}

// Comment and loop count stay on the picture through the format dispatch, so a load and
// save through the generic calls writes them again.
TEST(GifFrames, CommentAndLoopCountSurviveTheGenericRoundTrip) {
    FrameSpec a;
    a.width = 4;
    a.height = 3;
    a.indices = Pattern(12, 256);
    FrameSpec b = a;
    b.indices = Pattern(12, 100);
    for (const std::optional<int> repeat :
         {std::optional<int>(), std::optional<int>(0), std::optional<int>(3)}) {
        CRaster image;
        image.Info().retrieveAllFrames = 1;
        image.Info().frame = 1;
        ASSERT_TRUE(Decode(MakeGif(4, 3, {a, b}, "made by hand", repeat), image));
        EXPECT_EQ(image.Info().gifComment, "made by hand");
        std::vector<BYTE> saved;
        ASSERT_TRUE(image.EncodeToMemory(saved, CRaster::kTypeGif)) << image.GetLastError();
        const std::string text(saved.begin(), saved.end());
        EXPECT_NE(text.find("made by hand"), std::string::npos);
        const auto at = text.find("NETSCAPE2.0");
        if (!repeat) {
            EXPECT_EQ(at, std::string::npos);
        } else {
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(saved[at + 13] | saved[at + 14] << 8, *repeat);
        }
        CRaster again;
        ASSERT_TRUE(Decode(saved, again));
        EXPECT_EQ(again.Info().gifComment, "made by hand");
        EXPECT_EQ(again.Info().gifLoops, image.Info().gifLoops);
    }
}

} // namespace
