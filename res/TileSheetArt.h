#pragma once
#include "res/PixelPicture.h"

#include <string_view>

// The built-in tile sets' sheets and definition texts, and the placeholder drawn for a tile
// kind a set leaves out. Sheets hold four tile columns and five rows; the colour kTransparent
// marks what an overlay tile leaves uncovered.
class TileSheetArt {
public:
    static constexpr std::uint32_t kTransparent = 0xFFFF00FFu;
    // The sheet stored under picture number `pictureId` (180, 181, 187, 188, 189, 206); an
    // empty picture for any other number.
    static const PixelPicture& Sheet(int pictureId);
    // The definition text stored under `textId` (190, 192); empty for any other number.
    static std::string_view Definition(int textId);
    // The sheet of the hedge-maze set installed as a ".tle" file: the usual layout with two
    // alternative straights in row 5, columns 3 and 4, and START and STOP in row 6.
    static PixelPicture GardenSheet(int tile);
    // Picture 176: a square end marker.
    static const PixelPicture& Placeholder();
};
