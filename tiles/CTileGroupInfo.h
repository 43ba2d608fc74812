#pragma once
#include "tiles/CTileInfo.h"

#include <string_view>
#include <vector>

class CrtRandom;

// The alternatives of one tile kind, in the order of their lines.
class CTileGroupInfo {
public:
    // Adds the tile a TILE line's value describes ("kind,row,column[,weight]") of the tile
    // size in force; with `opacity` above 0 the tile is that many percent opaque. It has no
    // picture until it is placed on a sheet.
    void AddTile(std::string_view text, int tileWidth, int tileHeight, int opacity);
    // Chooses one tile by weight with `random`; a single tile costs no draw. Null when
    // the group is empty.
    const CTileInfo* PickTile(CrtRandom& random) const;

    bool Empty() const { return tiles.empty(); }
    std::vector<CTileInfo> tiles;
};
