#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <vector>

// A small picture made by the program: rows top-down, four bytes a pixel (red, green, blue,
// alpha; colours not premultiplied).
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgba;

    bool Empty() const { return width <= 0 || height <= 0; }
    const BYTE* Pixel(int x, int y) const {
        return rgba.data() +
               (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    }
};
