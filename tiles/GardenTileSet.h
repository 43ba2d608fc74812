#pragma once
#include <string>

// The tile set installed with the program, "Garden Hedge": its definition "garden.tle" and
// its sheet "garden.bmp". Written at build time into the install tree, and by tests that
// need a real tile set on disk.
class GardenTileSet {
public:
    static constexpr int kTile = 40;
    static constexpr const char* kUniqueId = "orlimber-garden-hedge-1";

    // Writes both files into `folder`; the error text, empty when both were written.
    static std::string Write(const std::string& folder);
};
