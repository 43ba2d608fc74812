#pragma once
// Small picture files that declare far more picture than their bytes hold, made the way such
// files are made in the wild: a real file with its size fields raised, scans repeated, strips
// pointing at one shared block. Tests, fuzz seeds and benchmarks share them.
#include "image/core/CRaster.h"

#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace PictureBombs {

struct Bomb {
    std::string name;
    DWORD type;
    std::vector<BYTE> bytes;
};

namespace detail {

inline void Be16(std::vector<BYTE>& b, std::size_t at, unsigned v) {
    b[at] = BYTE(v >> 8);
    b[at + 1] = BYTE(v);
}

inline void PutBe(std::vector<BYTE>& b, unsigned v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        b.push_back(BYTE(v >> (8 * i)));
}

inline void PutLe(std::vector<BYTE>& b, unsigned v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

// Offset of the first marker `code` (0xFF code) at or after `from`.
inline std::size_t FindMarker(const std::vector<BYTE>& b, BYTE code, std::size_t from = 2) {
    for (std::size_t i = from; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == code)
            return i;
    return b.size();
}

// A small progressive JPEG from our own encoder: grey or colour.
inline std::vector<BYTE> SmallProgressiveJpeg(bool grey) {
    CRaster image(16, 16, grey ? 8 : 24, CRaster::kTypeJpg);
    if (grey)
        image.SetGrayPalette();
    for (LONG y = 0; y < 16; ++y)
        for (LONG x = 0; x < 16; ++x)
            image.SetPixelColor(x, y, RGBQUAD{BYTE(x * 16), BYTE(y * 16), BYTE(x * y), 0});
    image.SetCodecOption(0x10, CRaster::kTypeJpg);
    std::vector<BYTE> out;
    image.EncodeToMemory(out, CRaster::kTypeJpg);
    return out;
}

// Raises the frame's declared height and width.
inline void DeclareSize(std::vector<BYTE>& jpeg, unsigned width, unsigned height) {
    const std::size_t sof = FindMarker(jpeg, 0xC2);
    Be16(jpeg, sof + 5, height);
    Be16(jpeg, sof + 7, width);
}

// Repeats the first scan (its header and its coded data) until the file holds `scans`.
inline void RepeatFirstScan(std::vector<BYTE>& jpeg, int scans) {
    const std::size_t sos = FindMarker(jpeg, 0xDA);
    std::size_t end = sos + 2;
    while (end + 1 < jpeg.size() && !(jpeg[end] == 0xFF && jpeg[end + 1] != 0 &&
                                      (jpeg[end + 1] < 0xD0 || jpeg[end + 1] > 0xD7)))
        ++end;
    const std::vector<BYTE> scan(jpeg.begin() + long(sos), jpeg.begin() + long(end));
    int have = 0;
    for (std::size_t at = FindMarker(jpeg, 0xDA); at < jpeg.size();
         at = FindMarker(jpeg, 0xDA, at + 2))
        ++have;
    for (; have < scans; ++have)
        jpeg.insert(jpeg.begin() + long(end), scan.begin(), scan.end());
}

// A JPEG 2000 code stream of three 8-bit components cut into tiles, with one tile's empty
// packets and nothing else.
inline std::vector<BYTE> Codestream(unsigned side, unsigned tilesPerSide) {
    std::vector<BYTE> c = {0xFF, 0x4F, 0xFF, 0x51};
    PutBe(c, 38 + 3 * 3, 2); // Lsiz
    PutBe(c, 0, 2);          // Rsiz
    PutBe(c, side, 4);
    PutBe(c, side, 4);
    PutBe(c, 0, 4);
    PutBe(c, 0, 4);
    const unsigned tile = (side + tilesPerSide - 1) / tilesPerSide;
    PutBe(c, tile, 4);
    PutBe(c, tile, 4);
    PutBe(c, 0, 4);
    PutBe(c, 0, 4);
    PutBe(c, 3, 2);
    for (int i = 0; i < 3; ++i)
        c.insert(c.end(), {0x07, 0x01, 0x01});
    // COD: LRCP, one layer, no colour transform, no decomposition, 64 x 64 blocks, 5/3.
    c.insert(c.end(),
             {0xFF, 0x52, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x04, 0x04, 0x00, 0x01});
    // QCD: no quantisation, two guard bits, one band.
    c.insert(c.end(), {0xFF, 0x5C, 0x00, 0x04, 0x40, 0x40});
    // One tile part of tile 0: three empty packets.
    c.insert(c.end(), {0xFF, 0x90, 0x00, 0x0A, 0x00, 0x00});
    PutBe(c, 12 + 2 + 3, 4);
    c.insert(c.end(), {0x00, 0x01, 0xFF, 0x93, 0x00, 0x00, 0x00, 0xFF, 0xD9});
    return c;
}

inline void Box(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& body) {
    PutBe(out, unsigned(8 + body.size()), 4);
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
}

inline std::vector<BYTE> Jp2(unsigned side) {
    std::vector<BYTE> out = {0x00, 0x00, 0x00, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    Box(out, "ftyp", {'j', 'p', '2', ' ', 0, 0, 0, 0, 'j', 'p', '2', ' '});
    std::vector<BYTE> ihdr;
    PutBe(ihdr, side, 4);
    PutBe(ihdr, side, 4);
    ihdr.insert(ihdr.end(), {0x00, 0x03, 0x07, 0x07, 0x00, 0x00});
    std::vector<BYTE> header;
    Box(header, "ihdr", ihdr);
    Box(header, "colr", {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10});
    Box(out, "jp2h", header);
    Box(out, "jp2c", Codestream(side, 1));
    return out;
}

inline std::vector<BYTE> Deflated(std::size_t zeros) {
    const std::vector<BYTE> raw(zeros, 0);
    std::vector<BYTE> packed(compressBound(uLong(raw.size())));
    uLongf size = uLongf(packed.size());
    compress2(packed.data(), &size, raw.data(), uLong(raw.size()), 9);
    packed.resize(size);
    return packed;
}

// A little-endian TIFF of one page: the entries (tag, type, count, value or offset to
// `extra` data placed behind the directory), then `data` at the end.
struct TiffEntry {
    unsigned tag;
    unsigned type; // 3 SHORT, 4 LONG
    unsigned count;
    std::vector<unsigned> values;
};

inline std::vector<BYTE> Tiff(std::vector<TiffEntry> entries, const std::vector<BYTE>& data,
                              unsigned dataTag) {
    std::sort(entries.begin(), entries.end(),
              [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
    std::vector<BYTE> out = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const unsigned directory = unsigned(2 + 12 * entries.size() + 4);
    std::vector<BYTE> extra;
    const unsigned dataAt = [&] {
        unsigned size = 0;
        for (const TiffEntry& e : entries) {
            const unsigned bytes = e.count * (e.type == 3 ? 2 : 4);
            if (bytes > 4)
                size += bytes;
        }
        return 8 + directory + size;
    }();
    PutLe(out, unsigned(entries.size()), 2);
    for (TiffEntry& e : entries) {
        if (e.tag == dataTag)
            std::fill(e.values.begin(), e.values.end(), dataAt);
        const int width = e.type == 3 ? 2 : 4;
        PutLe(out, e.tag, 2);
        PutLe(out, e.type, 2);
        PutLe(out, e.count, 4);
        std::vector<BYTE> value;
        for (unsigned v : e.values)
            PutLe(value, v, width);
        if (value.size() <= 4) {
            value.resize(4, 0);
            out.insert(out.end(), value.begin(), value.end());
        } else {
            PutLe(out, unsigned(8 + directory + extra.size()), 4);
            extra.insert(extra.end(), value.begin(), value.end());
        }
    }
    PutLe(out, 0, 4);
    out.insert(out.end(), extra.begin(), extra.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace detail

// Progressive grey JPEG declaring 23000 x 23000 pixels in some 300 bytes.
inline Bomb HugeGreyJpeg() {
    std::vector<BYTE> b = detail::SmallProgressiveJpeg(true);
    detail::DeclareSize(b, 23000, 23000);
    return {"jpeg_grey_23000", CRaster::kTypeJpg, b};
}

// Progressive colour JPEG of `scans` scans, declaring side x side pixels.
inline Bomb ManyScanJpeg(unsigned side, int scans) {
    std::vector<BYTE> b = detail::SmallProgressiveJpeg(false);
    if (side != 16)
        detail::DeclareSize(b, side, side);
    detail::RepeatFirstScan(b, scans);
    return {"jpeg_scans_" + std::to_string(scans) + "_" + std::to_string(side), CRaster::kTypeJpg,
            b};
}

// JPEG 2000 code stream of 9400 x 9400 pixels in 64 tiles, one of them present.
inline Bomb HugeCodestream() {
    return {"j2k_9400_64_tiles", CRaster::kTypeJpc, detail::Codestream(9400, 8)};
}

inline Bomb HugeJp2() {
    return {"jp2_9400", CRaster::kTypeJp2, detail::Jp2(9400)};
}

// TIFF one row high whose single tile is 13008 x 13008 RGB pixels.
inline Bomb HugeTileTiff() {
    const std::vector<BYTE> data = detail::Deflated(1000);
    return {"tiff_13000x1_tile_13008", CRaster::kTypeTif,
            detail::Tiff({{256, 4, 1, {13000}},
                          {257, 4, 1, {1}},
                          {258, 3, 3, {8, 8, 8}},
                          {259, 3, 1, {8}},
                          {262, 3, 1, {2}},
                          {277, 3, 1, {3}},
                          {284, 3, 1, {1}},
                          {322, 4, 1, {13008}},
                          {323, 4, 1, {13008}},
                          {324, 4, 1, {0}},
                          {325, 4, 1, {unsigned(data.size())}}},
                         data, 324)};
}

// 16-bit RGBA TIFF of 13000 x 13000 pixels whose strips all point at one deflate block.
inline Bomb SharedStripTiff() {
    constexpr unsigned kSide = 13000;
    constexpr unsigned kRowsPerStrip = 16;
    constexpr unsigned kStrips = (kSide + kRowsPerStrip - 1) / kRowsPerStrip;
    const std::vector<BYTE> data = detail::Deflated(std::size_t{kSide} * 8 * kRowsPerStrip);
    return {"tiff_rgba16_13000_shared_strips", CRaster::kTypeTif,
            detail::Tiff({{256, 4, 1, {kSide}},
                          {257, 4, 1, {kSide}},
                          {258, 3, 4, {16, 16, 16, 16}},
                          {259, 3, 1, {8}},
                          {262, 3, 1, {2}},
                          {273, 4, kStrips, std::vector<unsigned>(kStrips, 0)},
                          {277, 3, 1, {4}},
                          {278, 4, 1, {kRowsPerStrip}},
                          {279, 4, kStrips, std::vector<unsigned>(kStrips, unsigned(data.size()))},
                          {284, 3, 1, {1}},
                          {338, 3, 1, {2}}},
                         data, 273)};
}

// The files of the table every reader is measured against.
inline std::vector<Bomb> All() {
    return {HugeGreyJpeg(), ManyScanJpeg(13000, 500), HugeCodestream(),
            HugeJp2(),      HugeTileTiff(),           SharedStripTiff()};
}

} // namespace PictureBombs
