// Writes the tile set installed with the program: "<folder>/garden.tle" and its sheet.
#include "tiles/GardenTileSet.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string error = GardenTileSet::Write(argv[1]);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
