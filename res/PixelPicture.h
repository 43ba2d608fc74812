#pragma once
#include <cstdint>
#include <vector>

// A small picture the program draws itself: rows top-down, each pixel 0xFFRRGGBB.
struct PixelPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t& At(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};
