#pragma once
// Files that cost far more to read than their few bytes, made as the hostile ones are made:
// legitimate LZW, deflate and G4 data for frames and pages far larger than their screens or
// than any budget, real data with zeros after its end, a progressive JPEG inside a TIFF
// with its size raised. Tests and fuzz seeds share them.
#include "tests/support/PictureBombs.h"

#include "image/core/CRaster.h"

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace BudgetBombs {

using PictureBombs::Bomb;

namespace detail {

// Codes of any width, least significant bit first, packed into GIF data sub-blocks.
class GifCodes {
public:
    void Put(unsigned code, int width) {
        accum_ |= std::uint64_t(code) << bits_;
        for (bits_ += width; bits_ >= 8; bits_ -= 8, accum_ >>= 8)
            bytes_.push_back(BYTE(accum_));
    }
    std::vector<BYTE> Blocks() {
        if (bits_ > 0)
            bytes_.push_back(BYTE(accum_));
        std::vector<BYTE> out;
        for (std::size_t k = 0; k < bytes_.size(); k += 255) {
            const std::size_t n = std::min<std::size_t>(255, bytes_.size() - k);
            out.push_back(BYTE(n));
            out.insert(out.end(), bytes_.begin() + long(k), bytes_.begin() + long(k + n));
        }
        out.push_back(0);
        return out;
    }

private:
    std::vector<BYTE> bytes_;
    std::uint64_t accum_ = 0;
    int bits_ = 0;
};

// LZW data for `count` pixels of index 0 as an encoder without clear codes writes it: each
// code one pixel longer than the last until the table is full, then its longest code over
// and over (some 2,500 pixels a byte). Starts with the minimum code size byte.
inline std::vector<BYTE> FlatLzw(std::uint64_t count, int codeSize) {
    const unsigned clear = 1u << codeSize, firstFree = clear + 2;
    unsigned slot = firstFree, width = unsigned(codeSize) + 1, top = 1u << width;
    GifCodes codes;
    codes.Put(clear, int(width));
    codes.Put(0, int(width));
    for (std::uint64_t left = count - 1; left > 0;) {
        const unsigned longest = std::min(slot, 4095u);
        std::uint64_t length = longest - firstFree + 2;
        unsigned code = longest;
        if (length > left) {
            length = left;
            code = left == 1 ? 0 : unsigned(firstFree + left - 2);
        }
        codes.Put(code, int(width));
        left -= length;
        if (slot < top && slot < 4096)
            ++slot;
        if (slot >= top && width < 12) {
            top <<= 1;
            ++width;
        }
    }
    codes.Put(clear + 1, int(width));
    std::vector<BYTE> out{BYTE(codeSize)};
    const std::vector<BYTE> blocks = codes.Blocks();
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}

// A GIF89a with a black-and-white global table and one frame of the given LZW data.
inline std::vector<BYTE> Gif(unsigned screenW, unsigned screenH, unsigned frameW, unsigned frameH,
                             const std::vector<BYTE>& lzw) {
    std::vector<BYTE> g{'G', 'I', 'F', '8', '9', 'a'};
    PictureBombs::detail::PutLe(g, screenW, 2);
    PictureBombs::detail::PutLe(g, screenH, 2);
    g.insert(g.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255, 0x2C, 0, 0, 0, 0});
    PictureBombs::detail::PutLe(g, frameW, 2);
    PictureBombs::detail::PutLe(g, frameH, 2);
    g.push_back(0);
    g.insert(g.end(), lzw.begin(), lzw.end());
    g.push_back(0x3B);
    return g;
}

inline void PngChunk(std::vector<BYTE>& png, const char* type, const std::vector<BYTE>& body) {
    PictureBombs::detail::PutBe(png, unsigned(body.size()), 4);
    std::vector<BYTE> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PictureBombs::detail::PutBe(png, unsigned(crc32(0, typed.data(), uInt(typed.size()))), 4);
}

// Deflate at its best of `count` zero bytes, made in pieces.
inline std::vector<BYTE> DeflatedZeros(std::uint64_t count) {
    z_stream z{};
    deflateInit(&z, 9);
    const std::vector<BYTE> zeros(1 << 20, 0);
    std::vector<BYTE> out;
    std::vector<BYTE> piece(1 << 16);
    for (std::uint64_t left = count;;) {
        const std::uint64_t n = std::min<std::uint64_t>(left, zeros.size());
        z.next_in = const_cast<BYTE*>(zeros.data());
        z.avail_in = uInt(n);
        left -= n;
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        int status = Z_OK;
        do {
            z.next_out = piece.data();
            z.avail_out = uInt(piece.size());
            status = deflate(&z, flush);
            out.insert(out.end(), piece.data(), piece.data() + (piece.size() - z.avail_out));
        } while (z.avail_out == 0);
        if (status == Z_STREAM_END || left == 0)
            break;
    }
    deflateEnd(&z);
    return out;
}

// An Adam7 PNG whose filtered rows are all zero.
inline std::vector<BYTE> InterlacedPng(unsigned side, int bitDepth, int colourType) {
    const int channels = colourType == 6 ? 4 : colourType == 2 ? 3 : colourType == 4 ? 2 : 1;
    const int starts[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    const int steps[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    std::uint64_t raw = 0;
    for (int p = 0; p < 7; ++p) {
        const std::uint64_t cols = (side + steps[p][0] - 1 - starts[p][0]) / steps[p][0];
        const std::uint64_t rows = (side + steps[p][1] - 1 - starts[p][1]) / steps[p][1];
        if (cols != 0 && rows != 0)
            raw += rows * (1 + (cols * std::uint64_t(channels * bitDepth) + 7) / 8);
    }
    std::vector<BYTE> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<BYTE> ihdr;
    PictureBombs::detail::PutBe(ihdr, side, 4);
    PictureBombs::detail::PutBe(ihdr, side, 4);
    ihdr.insert(ihdr.end(), {BYTE(bitDepth), BYTE(colourType), 0, 0, 1});
    PngChunk(png, "IHDR", ihdr);
    PngChunk(png, "IDAT", DeflatedZeros(raw));
    PngChunk(png, "IEND", {});
    return png;
}

// A white G4 page in one strip: every row one V0 code, a single bit.
inline std::vector<BYTE> G4Tiff(unsigned width, unsigned height) {
    const std::vector<BYTE> data((height + 7) / 8, 0xFF);
    return PictureBombs::detail::Tiff({{256, 4, 1, {width}},
                                       {257, 4, 1, {height}},
                                       {258, 3, 1, {1}},
                                       {259, 3, 1, {4}},
                                       {262, 3, 1, {0}},
                                       {273, 4, 1, {0}},
                                       {277, 3, 1, {1}},
                                       {278, 4, 1, {height}},
                                       {279, 4, 1, {unsigned(data.size())}}},
                                      data, 273);
}

// A TIFF page of JPEG compression in one strip: our small progressive colour stream, its
// frame raised to side x side (and the page with it).
inline std::vector<BYTE> JpegTiff(unsigned side) {
    std::vector<BYTE> jpeg = PictureBombs::detail::SmallProgressiveJpeg(false);
    PictureBombs::detail::DeclareSize(jpeg, side, side);
    return PictureBombs::detail::Tiff({{256, 4, 1, {side}},
                                       {257, 4, 1, {side}},
                                       {258, 3, 3, {8, 8, 8}},
                                       {259, 3, 1, {7}},
                                       {262, 3, 1, {6}},
                                       {273, 4, 1, {0}},
                                       {277, 3, 1, {3}},
                                       {278, 4, 1, {side}},
                                       {279, 4, 1, {unsigned(jpeg.size())}}},
                                      jpeg, 273);
}

} // namespace detail

// Each row: its name (the seed's file name) and bytes.
inline std::vector<Bomb> All() {
    std::vector<Bomb> all;
    // A 16 x 16 screen holding one frame declared 65535 x 65535, with LZW for 280 million
    // of its pixels.
    all.push_back({"gif_frame_65535_on_16", CRaster::kTypeGif,
                   detail::Gif(16, 16, 65535, 65535, detail::FlatLzw(280000000, 2))});
    // A 1 x 1 frame on a 32768 x 32768 screen, zeros after the trailer.
    std::vector<BYTE> padded = detail::Gif(32768, 32768, 1, 1, detail::FlatLzw(1, 2));
    padded.resize(padded.size() + 263000, 0);
    all.push_back({"gif_1_on_32768_padded", CRaster::kTypeGif, padded});
    all.push_back({"png_adam7_grey2_32000", CRaster::kTypePng, detail::InterlacedPng(32000, 2, 0)});
    all.push_back({"png_adam7_rgba_10000", CRaster::kTypePng, detail::InterlacedPng(10000, 8, 6)});
    all.push_back({"tiff_g4_65536x65535", CRaster::kTypeTif, detail::G4Tiff(65536, 65535)});
    all.push_back({"tiff_jpeg_progressive_13000", CRaster::kTypeTif, detail::JpegTiff(13000)});
    return all;
}

} // namespace BudgetBombs
