#pragma once
// GIF files built byte by byte for tests: plain LZW codes of any minimum code size, frames
// placed anywhere, data that may leave pixels out.
#include "platform/WinTypes.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace GifBytes {

// One frame of a hand-made GIF.
struct FrameSpec {
    int left = 0, top = 0, width = 1, height = 1;
    std::vector<BYTE> indices; // top row first; fewer than width x height leaves data out
    int codeSize = 8;
    std::optional<BYTE> transparent;
    BYTE disposal = 0;
};

// Packs codes of a fixed width least significant bit first into data sub-blocks. A clear code
// goes out before the decoder's table would make the codes one bit wider, so every pixel is
// one plain code.
inline std::vector<BYTE> PlainLzw(const std::vector<BYTE>& indices, int codeSize) {
    const int width = codeSize + 1, clear = 1 << codeSize;
    std::vector<BYTE> bytes;
    std::uint32_t accum = 0;
    int bits = 0;
    auto put = [&](int code) {
        accum |= std::uint32_t(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, accum >>= 8)
            bytes.push_back(static_cast<BYTE>(accum & 0xFF));
    };
    int sinceClear = 0;
    put(clear);
    for (BYTE i : indices) {
        if (sinceClear == clear - 2) {
            put(clear);
            sinceClear = 0;
        }
        put(i);
        ++sinceClear;
    }
    put(clear + 1);
    if (bits > 0)
        bytes.push_back(static_cast<BYTE>(accum & 0xFF));
    std::vector<BYTE> out{static_cast<BYTE>(codeSize)};
    for (std::size_t k = 0; k < bytes.size(); k += 255) {
        const std::size_t n = std::min<std::size_t>(255, bytes.size() - k);
        out.push_back(static_cast<BYTE>(n));
        out.insert(out.end(), bytes.begin() + std::ptrdiff_t(k),
                   bytes.begin() + std::ptrdiff_t(k + n));
    }
    out.push_back(0);
    return out;
}

inline void PutU16(std::vector<BYTE>& out, int v) {
    out.push_back(static_cast<BYTE>(v & 0xFF));
    out.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
}

// A GIF89a with a 256-entry global table (entry i is (i, 255 - i, 7)) and the given frames.
inline std::vector<BYTE> MakeGif(int screenW, int screenH, const std::vector<FrameSpec>& frames,
                                 const std::string& comment = {}, std::optional<int> repeat = {}) {
    std::vector<BYTE> g{'G', 'I', 'F', '8', '9', 'a'};
    PutU16(g, screenW);
    PutU16(g, screenH);
    g.insert(g.end(), {0xF7, 0, 0});
    for (int i = 0; i < 256; ++i)
        g.insert(g.end(), {BYTE(i), BYTE(255 - i), 7});
    if (repeat) {
        const std::string app = "NETSCAPE2.0";
        g.insert(g.end(), {0x21, 0xFF, 11});
        g.insert(g.end(), app.begin(), app.end());
        g.insert(g.end(), {3, 1});
        PutU16(g, *repeat);
        g.push_back(0);
    }
    if (!comment.empty()) {
        g.insert(g.end(), {0x21, 0xFE, BYTE(comment.size())});
        g.insert(g.end(), comment.begin(), comment.end());
        g.push_back(0);
    }
    for (const FrameSpec& f : frames) {
        g.insert(g.end(), {0x21, 0xF9, 4, BYTE((f.disposal << 2) | (f.transparent ? 1 : 0)), 0, 0,
                           f.transparent.value_or(0), 0});
        g.push_back(0x2C);
        PutU16(g, f.left);
        PutU16(g, f.top);
        PutU16(g, f.width);
        PutU16(g, f.height);
        g.push_back(0);
        const auto data = PlainLzw(f.indices, f.codeSize);
        g.insert(g.end(), data.begin(), data.end());
    }
    g.push_back(0x3B);
    return g;
}

} // namespace GifBytes
