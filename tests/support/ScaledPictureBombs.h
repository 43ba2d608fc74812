#pragma once
// JPEG and JPEG 2000 files that declare huge pictures and pad themselves past any count of
// bytes per pixel: zeros after the end marker, a comment segment. Readers of these formats
// decode them at a scale that fits the picture budget, or refuse them when no scale does.
// Tests, fuzz seeds and benchmarks share them.
#include "tests/support/PictureBombs.h"

#include <string>
#include <vector>

namespace ScaledPictureBombs {

using PictureBombs::Bomb;

namespace detail {

using PictureBombs::detail::Be16;
using PictureBombs::detail::PutBe;

// A small JPEG from our own encoder with the given codec options (arithmetic, progressive).
inline std::vector<BYTE> SmallJpeg(DWORD options) {
    CRaster image(16, 16, 24, CRaster::kTypeJpg);
    for (LONG y = 0; y < 16; ++y)
        for (LONG x = 0; x < 16; ++x)
            image.SetPixelColor(x, y, RGBQUAD{BYTE(x * 16), BYTE(y * 16), BYTE(x * y), 0});
    image.SetCodecOption(options, CRaster::kTypeJpg);
    std::vector<BYTE> out;
    image.EncodeToMemory(out, CRaster::kTypeJpg);
    return out;
}

// Raises the size in whichever start-of-frame marker the file has.
inline void DeclareJpegSize(std::vector<BYTE>& jpeg, unsigned width, unsigned height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const BYTE m = jpeg[i + 1];
        if (jpeg[i] == 0xFF && m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
            Be16(jpeg, i + 5, height);
            Be16(jpeg, i + 7, width);
            return;
        }
    }
}

// A code stream of three 8-bit components in one tile of `side` pixels, coded with `levels`
// wavelet levels whose packets are all empty, with a comment segment of `padding` bytes.
inline std::vector<BYTE> Codestream(unsigned side, unsigned levels, unsigned padding) {
    std::vector<BYTE> c = {0xFF, 0x4F, 0xFF, 0x51};
    PutBe(c, 38 + 3 * 3, 2);
    PutBe(c, 0, 2);
    for (unsigned v : {side, side, 0u, 0u, side, side, 0u, 0u})
        PutBe(c, v, 4);
    PutBe(c, 3, 2);
    for (int i = 0; i < 3; ++i)
        c.insert(c.end(), {0x07, 0x01, 0x01});
    // COD: LRCP, one layer, no colour transform, 64 x 64 blocks, reversible 5/3.
    c.insert(c.end(), {0xFF, 0x52, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x01, 0x00, BYTE(levels), 0x04,
                       0x04, 0x00, 0x01});
    // QCD: no quantisation, two guard bits, one exponent a band.
    const unsigned bands = 3 * levels + 1;
    c.insert(c.end(), {0xFF, 0x5C});
    PutBe(c, 3 + bands, 2);
    c.push_back(0x40);
    c.insert(c.end(), bands, 0x48);
    while (padding > 0) {
        const unsigned part = std::min(padding, 65531u);
        c.insert(c.end(), {0xFF, 0x64});
        PutBe(c, part + 4, 2);
        PutBe(c, 1, 2); // Latin text
        c.insert(c.end(), part, 'x');
        padding -= part;
    }
    const unsigned packets = 3 * (levels + 1);
    c.insert(c.end(), {0xFF, 0x90, 0x00, 0x0A, 0x00, 0x00});
    PutBe(c, 12 + 2 + packets, 4);
    c.insert(c.end(), {0x00, 0x01, 0xFF, 0x93});
    c.insert(c.end(), packets, 0x00);
    c.insert(c.end(), {0xFF, 0xD9});
    return c;
}

} // namespace detail

// Arithmetic-coded colour JPEG of 16 x 16 pixels declaring 13000 x 13000, with 15 KB of zeros
// after its end marker. Arithmetic decoding runs on past the data without a warning.
inline Bomb ArithmeticJpeg() {
    std::vector<BYTE> b = detail::SmallJpeg(0x2);
    detail::DeclareJpegSize(b, 13000, 13000);
    b.resize(b.size() + 15000, 0);
    return {"jpeg_arithmetic_13000_zeros", CRaster::kTypeJpg, b};
}

// The same with Huffman coding: its scan ends early, which libjpeg warns about.
inline Bomb HuffmanJpeg() {
    std::vector<BYTE> b = detail::SmallJpeg(0);
    detail::DeclareJpegSize(b, 13000, 13000);
    b.resize(b.size() + 15000, 0);
    return {"jpeg_huffman_13000_zeros", CRaster::kTypeJpg, b};
}

// Progressive colour JPEG declaring 4000 x 4000: its coefficients and picture fit the budget.
inline Bomb ProgressiveJpeg() {
    std::vector<BYTE> b = detail::SmallJpeg(0x10);
    detail::DeclareJpegSize(b, 4000, 4000);
    return {"jpeg_progressive_4000", CRaster::kTypeJpg, b};
}

// Code stream of 9400 x 9400 pixels with five wavelet levels and a 16 KB comment: read two
// levels short, at 2350 x 2350.
inline Bomb LevelledCodestream() {
    return {"j2k_9400_levels_comment", CRaster::kTypeJpc, detail::Codestream(9400, 5, 16384)};
}

// The same without wavelet levels, which no reduction can bring within the budget.
inline Bomb FlatCodestream() {
    return {"j2k_9400_comment", CRaster::kTypeJpc, detail::Codestream(9400, 0, 16384)};
}

inline std::vector<Bomb> All() {
    return {ArithmeticJpeg(), HuffmanJpeg(), ProgressiveJpeg(), LevelledCodestream(),
            FlatCodestream()};
}

} // namespace ScaledPictureBombs
