#pragma once
// A small PNG that declares a huge picture: a 1-bit grey image of width x height whose rows
// are all zeros, deflated as tightly as zlib can (20000 x 20000 takes about 48 KB). It is a
// whole, valid file: a reader that trusts it decodes the whole picture.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace PngBomb {

inline void PutBe32(std::string& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void Chunk(std::string& out, const char* type, const std::string& data) {
    PutBe32(out, std::uint32_t(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    PutBe32(out, std::uint32_t(
                     crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

inline std::string Make(std::uint32_t width, std::uint32_t height) {
    std::string ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr += std::string("\x01\x00\x00\x00\x00", 5); // 1 bit, grey, deflate, no filter, plain
    // Deflated a row at a time: the raw picture is never held.
    z_stream z{};
    deflateInit(&z, 9);
    const std::vector<Bytef> row(1 + (std::size_t(width) + 7) / 8, 0);
    std::string packed;
    std::vector<Bytef> buffer(1 << 16);
    for (std::uint32_t y = 0; y <= height; ++y) {
        const bool last = y == height;
        z.next_in = const_cast<Bytef*>(row.data());
        z.avail_in = last ? 0 : uInt(row.size());
        do {
            z.next_out = buffer.data();
            z.avail_out = uInt(buffer.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            packed.append(reinterpret_cast<const char*>(buffer.data()),
                          buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", "");
    return png;
}

} // namespace PngBomb
