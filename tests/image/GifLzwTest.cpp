#include "image/codecs/GifLzwDecoder.h"
#include "image/codecs/GifLzwEncoder.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

namespace {

using Mode = GifLzwEncoder::Mode;

std::vector<BYTE> WithCodeSize(int codeSize, const std::vector<BYTE>& blocks) {
    std::vector<BYTE> data{static_cast<BYTE>(codeSize)};
    data.insert(data.end(), blocks.begin(), blocks.end());
    data.push_back(0);
    return data;
}

std::vector<BYTE> Pattern(std::size_t n, int bits, int kind) {
    CrtRandom rng;
    rng.srand(static_cast<std::uint32_t>(n * 31 + bits * 7 + kind));
    std::vector<BYTE> px(n);
    const int mask = (1 << bits) - 1;
    for (std::size_t i = 0; i < n; ++i) {
        switch (kind) {
        case 0:
            px[i] = static_cast<BYTE>(rng.rand() & mask);
            break; // noise
        case 1:
            px[i] = static_cast<BYTE>((i / 37) & mask);
            break; // long runs
        case 2:
            px[i] = 0;
            break; // one colour
        default:
            px[i] = static_cast<BYTE>((rng.rand() % 3 == 0 ? rng.rand() : i / 500) & mask);
        }
    }
    return px;
}

void CheckBlockSizes(const std::vector<BYTE>& blocks, std::size_t limit) {
    std::size_t pos = 0;
    while (pos < blocks.size()) {
        ASSERT_GT(blocks[pos], 0);
        ASSERT_LE(blocks[pos], limit);
        pos += 1 + blocks[pos];
    }
    ASSERT_EQ(pos, blocks.size());
}

} // namespace

TEST(GifLzw, EveryModeRoundTripsEveryDepth) {
    for (const Mode mode : {Mode::Lzw, Mode::Plain, Mode::RunLength}) {
        for (const int bits : {1, 2, 4, 8}) {
            const int codeSize = std::max(bits, 2);
            for (int kind = 0; kind < 4; ++kind) {
                for (const std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(5),
                                            std::size_t(4000), std::size_t(70000)}) {
                    const auto px = Pattern(n, bits, kind);
                    const auto blocks = GifLzwEncoder::Compress(px, codeSize, mode);
                    CheckBlockSizes(blocks, mode == Mode::RunLength ? 255 : 254);
                    const auto data = WithCodeSize(codeSize, blocks);
                    const auto r = GifLzwDecoder::Decode(data, n);
                    ASSERT_EQ(r.pixels, px)
                        << int(mode) << " bits " << bits << " kind " << kind << " n " << n;
                    EXPECT_EQ(r.badCodes, 0);
                    EXPECT_EQ(r.end, data.size());
                }
            }
        }
    }
}

TEST(GifLzw, HostileDataEndsCleanly) {
    EXPECT_EQ(GifLzwDecoder::Decode({}, 10).status, GifLzwDecoder::Status::Truncated);
    const std::vector<BYTE> badSize = {12, 1, 0xFF, 0};
    const auto r = GifLzwDecoder::Decode(badSize, 10);
    EXPECT_EQ(r.status, GifLzwDecoder::Status::BadCodeSize);
    EXPECT_EQ(r.end, badSize.size());
    // A sub-block that claims more bytes than exist, and codes far past the table.
    const std::vector<BYTE> cut = {8, 200, 0xFF, 0xFF, 0xFF, 0xFF};
    const auto c = GifLzwDecoder::Decode(cut, 1000);
    EXPECT_EQ(c.status, GifLzwDecoder::Status::Truncated);
    EXPECT_LE(c.pixels.size(), 1000u);
    CrtRandom rng;
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<BYTE> junk(1 + rng.rand() % 600);
        for (auto& b : junk)
            b = static_cast<BYTE>(rng.rand());
        junk[0] = static_cast<BYTE>(2 + rng.rand() % 8);
        const auto j = GifLzwDecoder::Decode(junk, 5000);
        EXPECT_LE(j.pixels.size(), 5000u);
        EXPECT_LE(j.end, junk.size());
    }
}
